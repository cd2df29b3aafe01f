-- Step 7: what the reminders need of each car, one row per car, kept by
-- the database, so that the list reads one table of at most a row a car
-- instead of every contract and every car.
-- A visit is a contract with a date; visits are ordered by date, and on one
-- day by key (the later entered is the newer). Per car: the last visit (its
-- date, key, mileage and reminder date), the visits with a mileage (how many,
-- the first and the last with their dates), and the newest visit that sets
-- the next service (its key, date, mileage and reminder date); and the car's
-- owner, phone, make, model, number and region as the list shows them (read
-- through the cars' key, they cost the list as much again as the rest).
-- Every change of a contract or a car in a column these come from sets the
-- car's row anew from the car and all of its contracts (and the old car's,
-- when a contract moves); a car without dated contracts, or a car that is
-- not there, has no row. Changes of other columns (the sums the lines'
-- triggers write, the remark, the car's mileage) leave it alone.
-- The rows of the cars already there are set by step 8 (a table is not
-- written in the transaction that makes it).

CREATE TABLE Car_Visits (
    cr_fk INTEGER NOT NULL,
    last_date DATE,
    last_key INTEGER,
    last_km INTEGER,
    last_reminded DATE,
    km_visits INTEGER,
    first_km_date DATE,
    first_km INTEGER,
    latest_km_date DATE,
    latest_km INTEGER,
    next_key INTEGER,
    next_date DATE,
    next_km INTEGER,
    next_reminded DATE,
    owner VARCHAR(100),
    phone VARCHAR(30),
    dev VARCHAR(40),
    mod VARCHAR(40),
    gnum VARCHAR(15),
    region VARCHAR(5),
    CONSTRAINT pk_car_visits PRIMARY KEY (cr_fk)
);

SET TERM ^ ;

CREATE PROCEDURE car_visits_set (car INTEGER) AS
DECLARE k INTEGER;
DECLARE d DATE;
DECLARE m INTEGER;
DECLARE nd DATE;
DECLARE nk INTEGER;
DECLARE r DATE;
DECLARE visits INTEGER = 0;
DECLARE last_date DATE;
DECLARE last_key INTEGER;
DECLARE last_km INTEGER;
DECLARE last_reminded DATE;
DECLARE km_visits INTEGER = 0;
DECLARE first_km_date DATE;
DECLARE first_km INTEGER;
DECLARE latest_km_date DATE;
DECLARE latest_km INTEGER;
DECLARE next_key INTEGER;
DECLARE next_date DATE;
DECLARE next_km INTEGER;
DECLARE next_reminded DATE;
DECLARE owner VARCHAR(100);
DECLARE phone VARCHAR(30);
DECLARE dev VARCHAR(40);
DECLARE mod VARCHAR(40);
DECLARE gnum VARCHAR(15);
DECLARE region VARCHAR(5);
BEGIN
    IF (car IS NULL) THEN EXIT;
    -- The car's row first: a change of its contracts at another workstation
    -- that has not ended stops here (the row is theirs until then), and one
    -- that has ended is seen by the reads below.
    SELECT cr_fk FROM Car_Visits WHERE cr_fk = :car WITH LOCK INTO :k;
    SELECT owner, phone, dev, mod, gnum, region FROM Cars WHERE pk_id = :car
        INTO :owner, :phone, :dev, :mod, :gnum, :region;
    IF (ROW_COUNT = 0) THEN
    BEGIN
        DELETE FROM Car_Visits WHERE cr_fk = :car;
        EXIT;
    END
    FOR SELECT pk_id, c_date, km, next_date, next_km, reminded FROM Contracts
        WHERE cr_fk = :car AND c_date IS NOT NULL
        ORDER BY c_date, pk_id
        INTO :k, :d, :m, :nd, :nk, :r DO
    BEGIN
        visits = visits + 1;
        last_date = d;
        last_key = k;
        last_km = m;
        last_reminded = r;
        IF (m IS NOT NULL) THEN
        BEGIN
            km_visits = km_visits + 1;
            IF (km_visits = 1) THEN
            BEGIN
                first_km_date = d;
                first_km = m;
            END
            latest_km_date = d;
            latest_km = m;
        END
        IF (nd IS NOT NULL OR nk IS NOT NULL) THEN
        BEGIN
            next_key = k;
            next_date = nd;
            next_km = nk;
            next_reminded = r;
        END
    END
    IF (visits = 0) THEN
        DELETE FROM Car_Visits WHERE cr_fk = :car;
    ELSE
        UPDATE OR INSERT INTO Car_Visits (cr_fk, last_date, last_key, last_km, last_reminded, km_visits,
                                          first_km_date, first_km, latest_km_date, latest_km,
                                          next_key, next_date, next_km, next_reminded,
                                          owner, phone, dev, mod, gnum, region)
        VALUES (:car, :last_date, :last_key, :last_km, :last_reminded, :km_visits,
                :first_km_date, :first_km, :latest_km_date, :latest_km,
                :next_key, :next_date, :next_km, :next_reminded,
                :owner, :phone, :dev, :mod, :gnum, :region)
        MATCHING (cr_fk);
END^

CREATE TRIGGER contracts_car_visits FOR Contracts ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 10 AS
BEGIN
    IF (UPDATING) THEN
        IF (NEW.pk_id IS NOT DISTINCT FROM OLD.pk_id AND NEW.cr_fk IS NOT DISTINCT FROM OLD.cr_fk
            AND NEW.c_date IS NOT DISTINCT FROM OLD.c_date AND NEW.km IS NOT DISTINCT FROM OLD.km
            AND NEW.next_date IS NOT DISTINCT FROM OLD.next_date AND NEW.next_km IS NOT DISTINCT FROM OLD.next_km
            AND NEW.reminded IS NOT DISTINCT FROM OLD.reminded) THEN EXIT;
    IF (NOT DELETING) THEN EXECUTE PROCEDURE car_visits_set(NEW.cr_fk);
    IF (DELETING OR (UPDATING AND OLD.cr_fk IS DISTINCT FROM NEW.cr_fk)) THEN EXECUTE PROCEDURE car_visits_set(OLD.cr_fk);
END^

CREATE TRIGGER cars_car_visits FOR Cars ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 10 AS
BEGIN
    IF (UPDATING) THEN
        IF (NEW.pk_id IS NOT DISTINCT FROM OLD.pk_id AND NEW.owner IS NOT DISTINCT FROM OLD.owner
            AND NEW.phone IS NOT DISTINCT FROM OLD.phone AND NEW.dev IS NOT DISTINCT FROM OLD.dev
            AND NEW.mod IS NOT DISTINCT FROM OLD.mod AND NEW.gnum IS NOT DISTINCT FROM OLD.gnum
            AND NEW.region IS NOT DISTINCT FROM OLD.region) THEN EXIT;
    IF (NOT DELETING) THEN EXECUTE PROCEDURE car_visits_set(NEW.pk_id);
    IF (DELETING OR (UPDATING AND OLD.pk_id IS DISTINCT FROM NEW.pk_id)) THEN EXECUTE PROCEDURE car_visits_set(OLD.pk_id);
END^

SET TERM ; ^

-- The program's users write contracts and cars; the triggers and their
-- procedure write the rows here whatever the user may do.
GRANT SELECT ON Contracts TO PROCEDURE car_visits_set;
GRANT SELECT ON Cars TO PROCEDURE car_visits_set;
GRANT SELECT, INSERT, UPDATE, DELETE ON Car_Visits TO PROCEDURE car_visits_set;
GRANT EXECUTE ON PROCEDURE car_visits_set TO TRIGGER contracts_car_visits;
GRANT EXECUTE ON PROCEDURE car_visits_set TO TRIGGER cars_car_visits;
