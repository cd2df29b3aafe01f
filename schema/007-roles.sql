-- Step 7: who may do what on a server, and who changed what.
-- Two roles the server enforces: TORQUIL_OWNER may do everything;
-- TORQUIL_CLERK adds and changes contracts, their lines and cars, adds works
-- and spares from the pickers without touching their prices, deletes only a
-- contract's lines, and never writes the shop's settings or reads the log.
-- Change_Log is written by triggers, so no workstation can leave it out. Its
-- user is the login (CURRENT_USER); on one computer the program attaches as
-- the engine's administrator and hands over the system user's name in the
-- session's context (TORQUIL_USER), which only that administrator's entries
-- take. AT is a reserved word: the column is named in quotes, "AT".

CREATE GENERATOR gen_change_log_id;

CREATE TABLE Change_Log (
    pk_id BIGINT NOT NULL,
    "AT" TIMESTAMP NOT NULL,
    user_name VARCHAR(63) NOT NULL,
    table_name VARCHAR(31) NOT NULL,
    row_key INTEGER,
    ct_fk INTEGER,
    action VARCHAR(6) NOT NULL,
    old_values VARCHAR(2000),
    new_values VARCHAR(2000),
    CONSTRAINT pk_change_log PRIMARY KEY (pk_id)
);

CREATE INDEX change_log_at ON Change_Log ("AT");
CREATE INDEX change_log_ct ON Change_Log (ct_fk);

SET TERM ^ ;
CREATE TRIGGER contracts_log FOR Contracts ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 10 AS
DECLARE old_v VARCHAR(2000);
DECLARE new_v VARCHAR(2000);
DECLARE row_key INTEGER;
DECLARE ct INTEGER;
DECLARE act VARCHAR(6);
BEGIN
    IF (INSERTING) THEN
    BEGIN
        old_v = NULL;
        new_v = 
            IIF(NEW.num IS NULL, '', 'num=' || COALESCE(CAST(NEW.num AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.c_date IS NULL, '', 'c_date=' || COALESCE(CAST(NEW.c_date AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.meh IS NULL, '', 'meh=' || COALESCE(CAST(NEW.meh AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.rem IS NULL, '', 'rem=' || COALESCE(CAST(NEW.rem AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.cr_fk IS NULL, '', 'cr_fk=' || COALESCE(CAST(NEW.cr_fk AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.km IS NULL, '', 'km=' || COALESCE(CAST(NEW.km AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.next_date IS NULL, '', 'next_date=' || COALESCE(CAST(NEW.next_date AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.next_km IS NULL, '', 'next_km=' || COALESCE(CAST(NEW.next_km AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.reminded IS NULL, '', 'reminded=' || COALESCE(CAST(NEW.reminded AS VARCHAR(1000)), '<NULL>') || '; ');
        row_key = NEW.pk_id;
        ct = NEW.pk_id;
        act = 'INSERT';
    END
    IF (UPDATING) THEN
    BEGIN
        old_v = 
            IIF(OLD.num IS DISTINCT FROM NEW.num, 'num=' || COALESCE(CAST(OLD.num AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.c_date IS DISTINCT FROM NEW.c_date, 'c_date=' || COALESCE(CAST(OLD.c_date AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.meh IS DISTINCT FROM NEW.meh, 'meh=' || COALESCE(CAST(OLD.meh AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.rem IS DISTINCT FROM NEW.rem, 'rem=' || COALESCE(CAST(OLD.rem AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.cr_fk IS DISTINCT FROM NEW.cr_fk, 'cr_fk=' || COALESCE(CAST(OLD.cr_fk AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.km IS DISTINCT FROM NEW.km, 'km=' || COALESCE(CAST(OLD.km AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.next_date IS DISTINCT FROM NEW.next_date, 'next_date=' || COALESCE(CAST(OLD.next_date AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.next_km IS DISTINCT FROM NEW.next_km, 'next_km=' || COALESCE(CAST(OLD.next_km AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.reminded IS DISTINCT FROM NEW.reminded, 'reminded=' || COALESCE(CAST(OLD.reminded AS VARCHAR(1000)), '<NULL>') || '; ', '');
        new_v = 
            IIF(OLD.num IS DISTINCT FROM NEW.num, 'num=' || COALESCE(CAST(NEW.num AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.c_date IS DISTINCT FROM NEW.c_date, 'c_date=' || COALESCE(CAST(NEW.c_date AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.meh IS DISTINCT FROM NEW.meh, 'meh=' || COALESCE(CAST(NEW.meh AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.rem IS DISTINCT FROM NEW.rem, 'rem=' || COALESCE(CAST(NEW.rem AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.cr_fk IS DISTINCT FROM NEW.cr_fk, 'cr_fk=' || COALESCE(CAST(NEW.cr_fk AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.km IS DISTINCT FROM NEW.km, 'km=' || COALESCE(CAST(NEW.km AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.next_date IS DISTINCT FROM NEW.next_date, 'next_date=' || COALESCE(CAST(NEW.next_date AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.next_km IS DISTINCT FROM NEW.next_km, 'next_km=' || COALESCE(CAST(NEW.next_km AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.reminded IS DISTINCT FROM NEW.reminded, 'reminded=' || COALESCE(CAST(NEW.reminded AS VARCHAR(1000)), '<NULL>') || '; ', '');
        row_key = NEW.pk_id;
        ct = NEW.pk_id;
        act = 'UPDATE';
    END
    IF (DELETING) THEN
    BEGIN
        old_v = 
            IIF(OLD.num IS NULL, '', 'num=' || COALESCE(CAST(OLD.num AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.c_date IS NULL, '', 'c_date=' || COALESCE(CAST(OLD.c_date AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.meh IS NULL, '', 'meh=' || COALESCE(CAST(OLD.meh AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.rem IS NULL, '', 'rem=' || COALESCE(CAST(OLD.rem AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.cr_fk IS NULL, '', 'cr_fk=' || COALESCE(CAST(OLD.cr_fk AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.km IS NULL, '', 'km=' || COALESCE(CAST(OLD.km AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.next_date IS NULL, '', 'next_date=' || COALESCE(CAST(OLD.next_date AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.next_km IS NULL, '', 'next_km=' || COALESCE(CAST(OLD.next_km AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.reminded IS NULL, '', 'reminded=' || COALESCE(CAST(OLD.reminded AS VARCHAR(1000)), '<NULL>') || '; ');
        new_v = NULL;
        row_key = OLD.pk_id;
        ct = OLD.pk_id;
        act = 'DELETE';
    END
    IF (act = 'UPDATE' AND old_v = '' AND new_v = '') THEN EXIT;
    INSERT INTO Change_Log (pk_id, "AT", user_name, table_name, row_key, ct_fk, action, old_values, new_values)
    VALUES (NEXT VALUE FOR gen_change_log_id, CURRENT_TIMESTAMP,
        COALESCE(IIF(CURRENT_USER = 'SYSDBA', RDB$GET_CONTEXT('USER_SESSION', 'TORQUIL_USER'), NULL), CURRENT_USER),
        'CONTRACTS', :row_key, :ct, :act, NULLIF(:old_v, ''), NULLIF(:new_v, ''));
END^
CREATE TRIGGER ct_works_log FOR CT_Works ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 10 AS
DECLARE old_v VARCHAR(2000);
DECLARE new_v VARCHAR(2000);
DECLARE row_key INTEGER;
DECLARE ct INTEGER;
DECLARE act VARCHAR(6);
BEGIN
    IF (INSERTING) THEN
    BEGIN
        old_v = NULL;
        new_v = 
            IIF(NEW.ct_fk IS NULL, '', 'ct_fk=' || COALESCE(CAST(NEW.ct_fk AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.name IS NULL, '', 'name=' || COALESCE(CAST(NEW.name AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.price IS NULL, '', 'price=' || COALESCE(CAST(CAST(NEW.price AS NUMERIC(18,4)) AS VARCHAR(40)), '<NULL>') || '; ');
        row_key = NEW.pk_id;
        ct = NEW.ct_fk;
        act = 'INSERT';
    END
    IF (UPDATING) THEN
    BEGIN
        old_v = 
            IIF(OLD.ct_fk IS DISTINCT FROM NEW.ct_fk, 'ct_fk=' || COALESCE(CAST(OLD.ct_fk AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.name IS DISTINCT FROM NEW.name, 'name=' || COALESCE(CAST(OLD.name AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.price IS DISTINCT FROM NEW.price, 'price=' || COALESCE(CAST(CAST(OLD.price AS NUMERIC(18,4)) AS VARCHAR(40)), '<NULL>') || '; ', '');
        new_v = 
            IIF(OLD.ct_fk IS DISTINCT FROM NEW.ct_fk, 'ct_fk=' || COALESCE(CAST(NEW.ct_fk AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.name IS DISTINCT FROM NEW.name, 'name=' || COALESCE(CAST(NEW.name AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.price IS DISTINCT FROM NEW.price, 'price=' || COALESCE(CAST(CAST(NEW.price AS NUMERIC(18,4)) AS VARCHAR(40)), '<NULL>') || '; ', '');
        row_key = NEW.pk_id;
        ct = NEW.ct_fk;
        act = 'UPDATE';
    END
    IF (DELETING) THEN
    BEGIN
        old_v = 
            IIF(OLD.ct_fk IS NULL, '', 'ct_fk=' || COALESCE(CAST(OLD.ct_fk AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.name IS NULL, '', 'name=' || COALESCE(CAST(OLD.name AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.price IS NULL, '', 'price=' || COALESCE(CAST(CAST(OLD.price AS NUMERIC(18,4)) AS VARCHAR(40)), '<NULL>') || '; ');
        new_v = NULL;
        row_key = OLD.pk_id;
        ct = OLD.ct_fk;
        act = 'DELETE';
    END
    IF (act = 'UPDATE' AND old_v = '' AND new_v = '') THEN EXIT;
    INSERT INTO Change_Log (pk_id, "AT", user_name, table_name, row_key, ct_fk, action, old_values, new_values)
    VALUES (NEXT VALUE FOR gen_change_log_id, CURRENT_TIMESTAMP,
        COALESCE(IIF(CURRENT_USER = 'SYSDBA', RDB$GET_CONTEXT('USER_SESSION', 'TORQUIL_USER'), NULL), CURRENT_USER),
        'CT_WORKS', :row_key, :ct, :act, NULLIF(:old_v, ''), NULLIF(:new_v, ''));
END^
CREATE TRIGGER ct_spares_log FOR CT_Spares ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 10 AS
DECLARE old_v VARCHAR(2000);
DECLARE new_v VARCHAR(2000);
DECLARE row_key INTEGER;
DECLARE ct INTEGER;
DECLARE act VARCHAR(6);
BEGIN
    IF (INSERTING) THEN
    BEGIN
        old_v = NULL;
        new_v = 
            IIF(NEW.ct_fk IS NULL, '', 'ct_fk=' || COALESCE(CAST(NEW.ct_fk AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.name IS NULL, '', 'name=' || COALESCE(CAST(NEW.name AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.price IS NULL, '', 'price=' || COALESCE(CAST(CAST(NEW.price AS NUMERIC(18,4)) AS VARCHAR(40)), '<NULL>') || '; ') ||
            IIF(NEW.num IS NULL, '', 'num=' || COALESCE(CAST(NEW.num AS VARCHAR(1000)), '<NULL>') || '; ');
        row_key = NEW.pk_id;
        ct = NEW.ct_fk;
        act = 'INSERT';
    END
    IF (UPDATING) THEN
    BEGIN
        old_v = 
            IIF(OLD.ct_fk IS DISTINCT FROM NEW.ct_fk, 'ct_fk=' || COALESCE(CAST(OLD.ct_fk AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.name IS DISTINCT FROM NEW.name, 'name=' || COALESCE(CAST(OLD.name AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.price IS DISTINCT FROM NEW.price, 'price=' || COALESCE(CAST(CAST(OLD.price AS NUMERIC(18,4)) AS VARCHAR(40)), '<NULL>') || '; ', '') ||
            IIF(OLD.num IS DISTINCT FROM NEW.num, 'num=' || COALESCE(CAST(OLD.num AS VARCHAR(1000)), '<NULL>') || '; ', '');
        new_v = 
            IIF(OLD.ct_fk IS DISTINCT FROM NEW.ct_fk, 'ct_fk=' || COALESCE(CAST(NEW.ct_fk AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.name IS DISTINCT FROM NEW.name, 'name=' || COALESCE(CAST(NEW.name AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.price IS DISTINCT FROM NEW.price, 'price=' || COALESCE(CAST(CAST(NEW.price AS NUMERIC(18,4)) AS VARCHAR(40)), '<NULL>') || '; ', '') ||
            IIF(OLD.num IS DISTINCT FROM NEW.num, 'num=' || COALESCE(CAST(NEW.num AS VARCHAR(1000)), '<NULL>') || '; ', '');
        row_key = NEW.pk_id;
        ct = NEW.ct_fk;
        act = 'UPDATE';
    END
    IF (DELETING) THEN
    BEGIN
        old_v = 
            IIF(OLD.ct_fk IS NULL, '', 'ct_fk=' || COALESCE(CAST(OLD.ct_fk AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.name IS NULL, '', 'name=' || COALESCE(CAST(OLD.name AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.price IS NULL, '', 'price=' || COALESCE(CAST(CAST(OLD.price AS NUMERIC(18,4)) AS VARCHAR(40)), '<NULL>') || '; ') ||
            IIF(OLD.num IS NULL, '', 'num=' || COALESCE(CAST(OLD.num AS VARCHAR(1000)), '<NULL>') || '; ');
        new_v = NULL;
        row_key = OLD.pk_id;
        ct = OLD.ct_fk;
        act = 'DELETE';
    END
    IF (act = 'UPDATE' AND old_v = '' AND new_v = '') THEN EXIT;
    INSERT INTO Change_Log (pk_id, "AT", user_name, table_name, row_key, ct_fk, action, old_values, new_values)
    VALUES (NEXT VALUE FOR gen_change_log_id, CURRENT_TIMESTAMP,
        COALESCE(IIF(CURRENT_USER = 'SYSDBA', RDB$GET_CONTEXT('USER_SESSION', 'TORQUIL_USER'), NULL), CURRENT_USER),
        'CT_SPARES', :row_key, :ct, :act, NULLIF(:old_v, ''), NULLIF(:new_v, ''));
END^
CREATE TRIGGER cars_log FOR Cars ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 10 AS
DECLARE old_v VARCHAR(2000);
DECLARE new_v VARCHAR(2000);
DECLARE row_key INTEGER;
DECLARE ct INTEGER;
DECLARE act VARCHAR(6);
BEGIN
    IF (INSERTING) THEN
    BEGIN
        old_v = NULL;
        new_v = 
            IIF(NEW.dev IS NULL, '', 'dev=' || COALESCE(CAST(NEW.dev AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.mod IS NULL, '', 'mod=' || COALESCE(CAST(NEW.mod AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.gnum IS NULL, '', 'gnum=' || COALESCE(CAST(NEW.gnum AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.region IS NULL, '', 'region=' || COALESCE(CAST(NEW.region AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.d_year IS NULL, '', 'd_year=' || COALESCE(CAST(NEW.d_year AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.vin IS NULL, '', 'vin=' || COALESCE(CAST(NEW.vin AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.color IS NULL, '', 'color=' || COALESCE(CAST(NEW.color AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.engine IS NULL, '', 'engine=' || COALESCE(CAST(NEW.engine AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.engine2 IS NULL, '', 'engine2=' || COALESCE(CAST(NEW.engine2 AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.body IS NULL, '', 'body=' || COALESCE(CAST(NEW.body AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.body2 IS NULL, '', 'body2=' || COALESCE(CAST(NEW.body2 AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.km IS NULL, '', 'km=' || COALESCE(CAST(NEW.km AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.owner IS NULL, '', 'owner=' || COALESCE(CAST(NEW.owner AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(NEW.phone IS NULL, '', 'phone=' || COALESCE(CAST(NEW.phone AS VARCHAR(1000)), '<NULL>') || '; ');
        row_key = NEW.pk_id;
        ct = NULL;
        act = 'INSERT';
    END
    IF (UPDATING) THEN
    BEGIN
        old_v = 
            IIF(OLD.dev IS DISTINCT FROM NEW.dev, 'dev=' || COALESCE(CAST(OLD.dev AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.mod IS DISTINCT FROM NEW.mod, 'mod=' || COALESCE(CAST(OLD.mod AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.gnum IS DISTINCT FROM NEW.gnum, 'gnum=' || COALESCE(CAST(OLD.gnum AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.region IS DISTINCT FROM NEW.region, 'region=' || COALESCE(CAST(OLD.region AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.d_year IS DISTINCT FROM NEW.d_year, 'd_year=' || COALESCE(CAST(OLD.d_year AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.vin IS DISTINCT FROM NEW.vin, 'vin=' || COALESCE(CAST(OLD.vin AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.color IS DISTINCT FROM NEW.color, 'color=' || COALESCE(CAST(OLD.color AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.engine IS DISTINCT FROM NEW.engine, 'engine=' || COALESCE(CAST(OLD.engine AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.engine2 IS DISTINCT FROM NEW.engine2, 'engine2=' || COALESCE(CAST(OLD.engine2 AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.body IS DISTINCT FROM NEW.body, 'body=' || COALESCE(CAST(OLD.body AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.body2 IS DISTINCT FROM NEW.body2, 'body2=' || COALESCE(CAST(OLD.body2 AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.km IS DISTINCT FROM NEW.km, 'km=' || COALESCE(CAST(OLD.km AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.owner IS DISTINCT FROM NEW.owner, 'owner=' || COALESCE(CAST(OLD.owner AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.phone IS DISTINCT FROM NEW.phone, 'phone=' || COALESCE(CAST(OLD.phone AS VARCHAR(1000)), '<NULL>') || '; ', '');
        new_v = 
            IIF(OLD.dev IS DISTINCT FROM NEW.dev, 'dev=' || COALESCE(CAST(NEW.dev AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.mod IS DISTINCT FROM NEW.mod, 'mod=' || COALESCE(CAST(NEW.mod AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.gnum IS DISTINCT FROM NEW.gnum, 'gnum=' || COALESCE(CAST(NEW.gnum AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.region IS DISTINCT FROM NEW.region, 'region=' || COALESCE(CAST(NEW.region AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.d_year IS DISTINCT FROM NEW.d_year, 'd_year=' || COALESCE(CAST(NEW.d_year AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.vin IS DISTINCT FROM NEW.vin, 'vin=' || COALESCE(CAST(NEW.vin AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.color IS DISTINCT FROM NEW.color, 'color=' || COALESCE(CAST(NEW.color AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.engine IS DISTINCT FROM NEW.engine, 'engine=' || COALESCE(CAST(NEW.engine AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.engine2 IS DISTINCT FROM NEW.engine2, 'engine2=' || COALESCE(CAST(NEW.engine2 AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.body IS DISTINCT FROM NEW.body, 'body=' || COALESCE(CAST(NEW.body AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.body2 IS DISTINCT FROM NEW.body2, 'body2=' || COALESCE(CAST(NEW.body2 AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.km IS DISTINCT FROM NEW.km, 'km=' || COALESCE(CAST(NEW.km AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.owner IS DISTINCT FROM NEW.owner, 'owner=' || COALESCE(CAST(NEW.owner AS VARCHAR(1000)), '<NULL>') || '; ', '') ||
            IIF(OLD.phone IS DISTINCT FROM NEW.phone, 'phone=' || COALESCE(CAST(NEW.phone AS VARCHAR(1000)), '<NULL>') || '; ', '');
        row_key = NEW.pk_id;
        ct = NULL;
        act = 'UPDATE';
    END
    IF (DELETING) THEN
    BEGIN
        old_v = 
            IIF(OLD.dev IS NULL, '', 'dev=' || COALESCE(CAST(OLD.dev AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.mod IS NULL, '', 'mod=' || COALESCE(CAST(OLD.mod AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.gnum IS NULL, '', 'gnum=' || COALESCE(CAST(OLD.gnum AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.region IS NULL, '', 'region=' || COALESCE(CAST(OLD.region AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.d_year IS NULL, '', 'd_year=' || COALESCE(CAST(OLD.d_year AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.vin IS NULL, '', 'vin=' || COALESCE(CAST(OLD.vin AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.color IS NULL, '', 'color=' || COALESCE(CAST(OLD.color AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.engine IS NULL, '', 'engine=' || COALESCE(CAST(OLD.engine AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.engine2 IS NULL, '', 'engine2=' || COALESCE(CAST(OLD.engine2 AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.body IS NULL, '', 'body=' || COALESCE(CAST(OLD.body AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.body2 IS NULL, '', 'body2=' || COALESCE(CAST(OLD.body2 AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.km IS NULL, '', 'km=' || COALESCE(CAST(OLD.km AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.owner IS NULL, '', 'owner=' || COALESCE(CAST(OLD.owner AS VARCHAR(1000)), '<NULL>') || '; ') ||
            IIF(OLD.phone IS NULL, '', 'phone=' || COALESCE(CAST(OLD.phone AS VARCHAR(1000)), '<NULL>') || '; ');
        new_v = NULL;
        row_key = OLD.pk_id;
        ct = NULL;
        act = 'DELETE';
    END
    IF (act = 'UPDATE' AND old_v = '' AND new_v = '') THEN EXIT;
    INSERT INTO Change_Log (pk_id, "AT", user_name, table_name, row_key, ct_fk, action, old_values, new_values)
    VALUES (NEXT VALUE FOR gen_change_log_id, CURRENT_TIMESTAMP,
        COALESCE(IIF(CURRENT_USER = 'SYSDBA', RDB$GET_CONTEXT('USER_SESSION', 'TORQUIL_USER'), NULL), CURRENT_USER),
        'CARS', :row_key, :ct, :act, NULLIF(:old_v, ''), NULLIF(:new_v, ''));
END^
CREATE TRIGGER works_price_log FOR Works ACTIVE AFTER UPDATE POSITION 10 AS
DECLARE old_v VARCHAR(2000);
DECLARE new_v VARCHAR(2000);
DECLARE row_key INTEGER;
DECLARE ct INTEGER;
DECLARE act VARCHAR(6);
BEGIN
    IF (UPDATING) THEN
    BEGIN
        old_v = 
            IIF(OLD.price IS DISTINCT FROM NEW.price, 'price=' || COALESCE(CAST(CAST(OLD.price AS NUMERIC(18,4)) AS VARCHAR(40)), '<NULL>') || '; ', '');
        new_v = 
            IIF(OLD.price IS DISTINCT FROM NEW.price, 'price=' || COALESCE(CAST(CAST(NEW.price AS NUMERIC(18,4)) AS VARCHAR(40)), '<NULL>') || '; ', '');
        row_key = NEW.pk_id;
        ct = NULL;
        act = 'UPDATE';
    END
    IF (act = 'UPDATE' AND old_v = '' AND new_v = '') THEN EXIT;
    INSERT INTO Change_Log (pk_id, "AT", user_name, table_name, row_key, ct_fk, action, old_values, new_values)
    VALUES (NEXT VALUE FOR gen_change_log_id, CURRENT_TIMESTAMP,
        COALESCE(IIF(CURRENT_USER = 'SYSDBA', RDB$GET_CONTEXT('USER_SESSION', 'TORQUIL_USER'), NULL), CURRENT_USER),
        'WORKS', :row_key, :ct, :act, NULLIF(:old_v, ''), NULLIF(:new_v, ''));
END^
CREATE TRIGGER spares_price_log FOR Spares ACTIVE AFTER UPDATE POSITION 10 AS
DECLARE old_v VARCHAR(2000);
DECLARE new_v VARCHAR(2000);
DECLARE row_key INTEGER;
DECLARE ct INTEGER;
DECLARE act VARCHAR(6);
BEGIN
    IF (UPDATING) THEN
    BEGIN
        old_v = 
            IIF(OLD.price IS DISTINCT FROM NEW.price, 'price=' || COALESCE(CAST(CAST(OLD.price AS NUMERIC(18,4)) AS VARCHAR(40)), '<NULL>') || '; ', '');
        new_v = 
            IIF(OLD.price IS DISTINCT FROM NEW.price, 'price=' || COALESCE(CAST(CAST(NEW.price AS NUMERIC(18,4)) AS VARCHAR(40)), '<NULL>') || '; ', '');
        row_key = NEW.pk_id;
        ct = NULL;
        act = 'UPDATE';
    END
    IF (act = 'UPDATE' AND old_v = '' AND new_v = '') THEN EXIT;
    INSERT INTO Change_Log (pk_id, "AT", user_name, table_name, row_key, ct_fk, action, old_values, new_values)
    VALUES (NEXT VALUE FOR gen_change_log_id, CURRENT_TIMESTAMP,
        COALESCE(IIF(CURRENT_USER = 'SYSDBA', RDB$GET_CONTEXT('USER_SESSION', 'TORQUIL_USER'), NULL), CURRENT_USER),
        'SPARES', :row_key, :ct, :act, NULLIF(:old_v, ''), NULLIF(:new_v, ''));
END^
SET TERM ; ^
-- The log is written by the triggers alone.
GRANT INSERT ON Change_Log TO TRIGGER contracts_log;
GRANT USAGE ON SEQUENCE gen_change_log_id TO TRIGGER contracts_log;
GRANT INSERT ON Change_Log TO TRIGGER ct_works_log;
GRANT USAGE ON SEQUENCE gen_change_log_id TO TRIGGER ct_works_log;
GRANT INSERT ON Change_Log TO TRIGGER ct_spares_log;
GRANT USAGE ON SEQUENCE gen_change_log_id TO TRIGGER ct_spares_log;
GRANT INSERT ON Change_Log TO TRIGGER cars_log;
GRANT USAGE ON SEQUENCE gen_change_log_id TO TRIGGER cars_log;
GRANT INSERT ON Change_Log TO TRIGGER works_price_log;
GRANT USAGE ON SEQUENCE gen_change_log_id TO TRIGGER works_price_log;
GRANT INSERT ON Change_Log TO TRIGGER spares_price_log;
GRANT USAGE ON SEQUENCE gen_change_log_id TO TRIGGER spares_price_log;

CREATE ROLE TORQUIL_OWNER;
CREATE ROLE TORQUIL_CLERK;

-- The owner: everything but writing the log.
GRANT ALL ON Contracts TO ROLE TORQUIL_OWNER;
GRANT ALL ON Cars TO ROLE TORQUIL_OWNER;
GRANT ALL ON Works TO ROLE TORQUIL_OWNER;
GRANT ALL ON Spares TO ROLE TORQUIL_OWNER;
GRANT ALL ON CT_Works TO ROLE TORQUIL_OWNER;
GRANT ALL ON CT_Spares TO ROLE TORQUIL_OWNER;
GRANT ALL ON meh TO ROLE TORQUIL_OWNER;
GRANT ALL ON dev TO ROLE TORQUIL_OWNER;
GRANT ALL ON models TO ROLE TORQUIL_OWNER;
GRANT ALL ON engines TO ROLE TORQUIL_OWNER;
GRANT ALL ON engine_sp TO ROLE TORQUIL_OWNER;
GRANT ALL ON body TO ROLE TORQUIL_OWNER;
GRANT ALL ON body_sp TO ROLE TORQUIL_OWNER;
GRANT ALL ON Settings TO ROLE TORQUIL_OWNER;
GRANT SELECT ON Change_Log TO ROLE TORQUIL_OWNER;
GRANT SELECT ON Schema_Version TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_doc_num TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_contracts_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_cars_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_works_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_spares_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_ct_works_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_ct_spares_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_meh_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_dev_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_models_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_engines_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_engine_sp_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_body_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_body_sp_id TO ROLE TORQUIL_OWNER;

-- The clerk: contracts, their lines and cars; works and spares added from
-- the pickers, their names corrected, their prices never changed; only a
-- contract's lines deleted.
GRANT SELECT, INSERT, UPDATE ON Contracts TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT, UPDATE ON Cars TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT, UPDATE, DELETE ON CT_Works TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT, UPDATE, DELETE ON CT_Spares TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT, UPDATE (name) ON Works TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT, UPDATE (name) ON Spares TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT ON meh TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT ON dev TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT ON models TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT ON engines TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT ON engine_sp TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT ON body TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT ON body_sp TO ROLE TORQUIL_CLERK;
GRANT SELECT ON Settings TO ROLE TORQUIL_CLERK;
GRANT SELECT ON Schema_Version TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_doc_num TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_contracts_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_cars_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_works_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_spares_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_ct_works_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_ct_spares_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_meh_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_dev_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_models_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_engines_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_engine_sp_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_body_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_body_sp_id TO ROLE TORQUIL_CLERK;
