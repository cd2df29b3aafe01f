-- Step 1: the mileage of each visit, the next service it sets, the date the
-- customer was reminded of it, and the shop's settings (names and values).
-- Steps only add: a database of an older step keeps every row and every
-- statement that ran on it.

ALTER TABLE Contracts ADD km INTEGER;
ALTER TABLE Contracts ADD next_date DATE;
ALTER TABLE Contracts ADD next_km INTEGER;
ALTER TABLE Contracts ADD reminded DATE;

CREATE TABLE Settings (
    name VARCHAR(60) NOT NULL,
    val VARCHAR(8000),
    CONSTRAINT pk_settings PRIMARY KEY (name)
);
