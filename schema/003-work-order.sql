-- Step 3: what a work order signed by a customer holds beyond the card: the
-- deadline, the day the car was handed back, the customer's address, the
-- agreed value of the car, what to do with faults found during the work,
-- the notes made at acceptance and its time; the customer's own parts; the
-- article number and maker of every spare part. The shop's details are
-- kept in Settings (step 1).

ALTER TABLE Contracts ADD deadline DATE;
ALTER TABLE Contracts ADD done_date DATE;
ALTER TABLE Contracts ADD accepted TIMESTAMP;
ALTER TABLE Contracts ADD cust_address VARCHAR(200);
ALTER TABLE Contracts ADD car_value NUMERIC(18,2);
ALTER TABLE Contracts ADD extra_rule VARCHAR(40);
ALTER TABLE Contracts ADD extra_limit NUMERIC(18,2);
ALTER TABLE Contracts ADD accept_note VARCHAR(1000);

CREATE TABLE Ct_Own (
    pk_id INTEGER NOT NULL,
    ct_fk INTEGER,
    name VARCHAR(150),
    quantity INTEGER,
    note VARCHAR(200),
    CONSTRAINT pk_ct_own PRIMARY KEY (pk_id)
);
CREATE INDEX ct_own_ct ON Ct_Own (ct_fk);
CREATE GENERATOR gen_ct_own_id;

ALTER TABLE Spares ADD art VARCHAR(40);
ALTER TABLE Spares ADD maker VARCHAR(60);
ALTER TABLE CT_Spares ADD art VARCHAR(40);
ALTER TABLE CT_Spares ADD maker VARCHAR(60);

SET TERM ^ ;

CREATE TRIGGER ct_own_bi FOR Ct_Own ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_ct_own_id, 1);
END^

SET TERM ; ^
