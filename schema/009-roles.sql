-- Step 9: who may do what on a server, and who changed what.
-- Two roles the server enforces: TORQUIL_OWNER may do everything;
-- TORQUIL_CLERK adds and changes contracts, their lines, the customer's own
-- parts, cars and payments, adds works and spares from the pickers without
-- touching their prices, deletes only a contract's lines, reads the
-- mechanics, the shop's settings and nothing of the log.
-- Change_Log is written by triggers, so no workstation can leave it out. Its
-- user is the login (CURRENT_USER); on one computer the program attaches as
-- the engine's administrator and hands over the system user's name in the
-- session's context (TORQUIL_USER), which only that administrator's entries
-- take. AT is a reserved word: the column is named in quotes, "AT".
-- A row holds the changed columns only ("name=value; "), a new or deleted
-- row its non-empty ones; the sums the lines' triggers keep on a contract
-- are not logged (each line's own row says what changed). The values hold
-- the longest contract (remark and acceptance note of 1000 characters and
-- the rest): 3000 characters.
-- Every saved line writes one log row, so the row is kept cheap: no reads,
-- the text built once, two indexes (the period and the contract).

CREATE GENERATOR gen_change_log_id;

CREATE TABLE Change_Log (
    pk_id BIGINT NOT NULL,
    "AT" TIMESTAMP NOT NULL,
    user_name VARCHAR(63) NOT NULL,
    table_name VARCHAR(31) NOT NULL,
    row_key INTEGER,
    ct_fk INTEGER,
    action VARCHAR(6) NOT NULL,
    old_values VARCHAR(3000),
    new_values VARCHAR(3000)
);

CREATE INDEX change_log_at ON Change_Log ("AT");
CREATE INDEX change_log_ct ON Change_Log (ct_fk);

SET TERM ^ ;
-- Who created a contract and who changed it (or its lines, payments and
-- the customer's parts) last, for the editor's status line: a clerk may
-- ask it without reading the log.
CREATE PROCEDURE contract_authors (ct INTEGER)
RETURNS (created_by VARCHAR(63), created_at TIMESTAMP, changed_by VARCHAR(63), changed_at TIMESTAMP) AS
BEGIN
    SELECT FIRST 1 user_name, "AT" FROM Change_Log
    WHERE ct_fk = :ct AND table_name = 'CONTRACTS' AND action = 'INSERT' ORDER BY pk_id
    INTO :created_by, :created_at;
    SELECT FIRST 1 user_name, "AT" FROM Change_Log WHERE ct_fk = :ct ORDER BY pk_id DESC
    INTO :changed_by, :changed_at;
    SUSPEND;
END^
CREATE TRIGGER contracts_log FOR Contracts ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 10 AS
DECLARE o VARCHAR(3000) = '';
DECLARE n VARCHAR(3000) = '';
BEGIN
    IF (INSERTING) THEN
        n = IIF(NEW.num IS NULL, '', 'num=' || NEW.num || '; ') ||
            IIF(NEW.c_date IS NULL, '', 'c_date=' || NEW.c_date || '; ') ||
            IIF(NEW.meh IS NULL, '', 'meh=' || NEW.meh || '; ') ||
            IIF(NEW.rem IS NULL, '', 'rem=' || NEW.rem || '; ') ||
            IIF(NEW.cr_fk IS NULL, '', 'cr_fk=' || NEW.cr_fk || '; ') ||
            IIF(NEW.km IS NULL, '', 'km=' || NEW.km || '; ') ||
            IIF(NEW.next_date IS NULL, '', 'next_date=' || NEW.next_date || '; ') ||
            IIF(NEW.next_km IS NULL, '', 'next_km=' || NEW.next_km || '; ') ||
            IIF(NEW.reminded IS NULL, '', 'reminded=' || NEW.reminded || '; ') ||
            IIF(NEW.deadline IS NULL, '', 'deadline=' || NEW.deadline || '; ') ||
            IIF(NEW.done_date IS NULL, '', 'done_date=' || NEW.done_date || '; ') ||
            IIF(NEW.accepted IS NULL, '', 'accepted=' || NEW.accepted || '; ') ||
            IIF(NEW.cust_address IS NULL, '', 'cust_address=' || NEW.cust_address || '; ') ||
            IIF(NEW.car_value IS NULL, '', 'car_value=' || NEW.car_value || '; ') ||
            IIF(NEW.extra_rule IS NULL, '', 'extra_rule=' || NEW.extra_rule || '; ') ||
            IIF(NEW.extra_limit IS NULL, '', 'extra_limit=' || NEW.extra_limit || '; ') ||
            IIF(NEW.accept_note IS NULL, '', 'accept_note=' || NEW.accept_note || '; ');
    ELSE IF (DELETING) THEN
        o = IIF(OLD.num IS NULL, '', 'num=' || OLD.num || '; ') ||
            IIF(OLD.c_date IS NULL, '', 'c_date=' || OLD.c_date || '; ') ||
            IIF(OLD.meh IS NULL, '', 'meh=' || OLD.meh || '; ') ||
            IIF(OLD.rem IS NULL, '', 'rem=' || OLD.rem || '; ') ||
            IIF(OLD.cr_fk IS NULL, '', 'cr_fk=' || OLD.cr_fk || '; ') ||
            IIF(OLD.km IS NULL, '', 'km=' || OLD.km || '; ') ||
            IIF(OLD.next_date IS NULL, '', 'next_date=' || OLD.next_date || '; ') ||
            IIF(OLD.next_km IS NULL, '', 'next_km=' || OLD.next_km || '; ') ||
            IIF(OLD.reminded IS NULL, '', 'reminded=' || OLD.reminded || '; ') ||
            IIF(OLD.deadline IS NULL, '', 'deadline=' || OLD.deadline || '; ') ||
            IIF(OLD.done_date IS NULL, '', 'done_date=' || OLD.done_date || '; ') ||
            IIF(OLD.accepted IS NULL, '', 'accepted=' || OLD.accepted || '; ') ||
            IIF(OLD.cust_address IS NULL, '', 'cust_address=' || OLD.cust_address || '; ') ||
            IIF(OLD.car_value IS NULL, '', 'car_value=' || OLD.car_value || '; ') ||
            IIF(OLD.extra_rule IS NULL, '', 'extra_rule=' || OLD.extra_rule || '; ') ||
            IIF(OLD.extra_limit IS NULL, '', 'extra_limit=' || OLD.extra_limit || '; ') ||
            IIF(OLD.accept_note IS NULL, '', 'accept_note=' || OLD.accept_note || '; ');
    ELSE
    BEGIN
        IF (NEW.num IS DISTINCT FROM OLD.num) THEN BEGIN o = o || 'num=' || COALESCE(OLD.num, '<NULL>') || '; ';
            n = n || 'num=' || COALESCE(NEW.num, '<NULL>') || '; '; END
        IF (NEW.c_date IS DISTINCT FROM OLD.c_date) THEN BEGIN o = o || 'c_date=' || COALESCE(OLD.c_date, '<NULL>') || '; ';
            n = n || 'c_date=' || COALESCE(NEW.c_date, '<NULL>') || '; '; END
        IF (NEW.meh IS DISTINCT FROM OLD.meh) THEN BEGIN o = o || 'meh=' || COALESCE(OLD.meh, '<NULL>') || '; ';
            n = n || 'meh=' || COALESCE(NEW.meh, '<NULL>') || '; '; END
        IF (NEW.rem IS DISTINCT FROM OLD.rem) THEN BEGIN o = o || 'rem=' || COALESCE(OLD.rem, '<NULL>') || '; ';
            n = n || 'rem=' || COALESCE(NEW.rem, '<NULL>') || '; '; END
        IF (NEW.cr_fk IS DISTINCT FROM OLD.cr_fk) THEN BEGIN o = o || 'cr_fk=' || COALESCE(OLD.cr_fk, '<NULL>') || '; ';
            n = n || 'cr_fk=' || COALESCE(NEW.cr_fk, '<NULL>') || '; '; END
        IF (NEW.km IS DISTINCT FROM OLD.km) THEN BEGIN o = o || 'km=' || COALESCE(OLD.km, '<NULL>') || '; ';
            n = n || 'km=' || COALESCE(NEW.km, '<NULL>') || '; '; END
        IF (NEW.next_date IS DISTINCT FROM OLD.next_date) THEN BEGIN o = o || 'next_date=' || COALESCE(OLD.next_date, '<NULL>') || '; ';
            n = n || 'next_date=' || COALESCE(NEW.next_date, '<NULL>') || '; '; END
        IF (NEW.next_km IS DISTINCT FROM OLD.next_km) THEN BEGIN o = o || 'next_km=' || COALESCE(OLD.next_km, '<NULL>') || '; ';
            n = n || 'next_km=' || COALESCE(NEW.next_km, '<NULL>') || '; '; END
        IF (NEW.reminded IS DISTINCT FROM OLD.reminded) THEN BEGIN o = o || 'reminded=' || COALESCE(OLD.reminded, '<NULL>') || '; ';
            n = n || 'reminded=' || COALESCE(NEW.reminded, '<NULL>') || '; '; END
        IF (NEW.deadline IS DISTINCT FROM OLD.deadline) THEN BEGIN o = o || 'deadline=' || COALESCE(OLD.deadline, '<NULL>') || '; ';
            n = n || 'deadline=' || COALESCE(NEW.deadline, '<NULL>') || '; '; END
        IF (NEW.done_date IS DISTINCT FROM OLD.done_date) THEN BEGIN o = o || 'done_date=' || COALESCE(OLD.done_date, '<NULL>') || '; ';
            n = n || 'done_date=' || COALESCE(NEW.done_date, '<NULL>') || '; '; END
        IF (NEW.accepted IS DISTINCT FROM OLD.accepted) THEN BEGIN o = o || 'accepted=' || COALESCE(OLD.accepted, '<NULL>') || '; ';
            n = n || 'accepted=' || COALESCE(NEW.accepted, '<NULL>') || '; '; END
        IF (NEW.cust_address IS DISTINCT FROM OLD.cust_address) THEN BEGIN o = o || 'cust_address=' || COALESCE(OLD.cust_address, '<NULL>') || '; ';
            n = n || 'cust_address=' || COALESCE(NEW.cust_address, '<NULL>') || '; '; END
        IF (NEW.car_value IS DISTINCT FROM OLD.car_value) THEN BEGIN o = o || 'car_value=' || COALESCE(OLD.car_value, '<NULL>') || '; ';
            n = n || 'car_value=' || COALESCE(NEW.car_value, '<NULL>') || '; '; END
        IF (NEW.extra_rule IS DISTINCT FROM OLD.extra_rule) THEN BEGIN o = o || 'extra_rule=' || COALESCE(OLD.extra_rule, '<NULL>') || '; ';
            n = n || 'extra_rule=' || COALESCE(NEW.extra_rule, '<NULL>') || '; '; END
        IF (NEW.extra_limit IS DISTINCT FROM OLD.extra_limit) THEN BEGIN o = o || 'extra_limit=' || COALESCE(OLD.extra_limit, '<NULL>') || '; ';
            n = n || 'extra_limit=' || COALESCE(NEW.extra_limit, '<NULL>') || '; '; END
        IF (NEW.accept_note IS DISTINCT FROM OLD.accept_note) THEN BEGIN o = o || 'accept_note=' || COALESCE(OLD.accept_note, '<NULL>') || '; ';
            n = n || 'accept_note=' || COALESCE(NEW.accept_note, '<NULL>') || '; '; END
        IF (o = '') THEN EXIT;
    END
    INSERT INTO Change_Log (pk_id, "AT", user_name, table_name, row_key, ct_fk, action, old_values, new_values)
    VALUES (NEXT VALUE FOR gen_change_log_id, CURRENT_TIMESTAMP,
        COALESCE(IIF(CURRENT_USER = 'SYSDBA', RDB$GET_CONTEXT('USER_SESSION', 'TORQUIL_USER'), NULL), CURRENT_USER),
        'CONTRACTS', IIF(DELETING, OLD.pk_id, NEW.pk_id), IIF(DELETING, OLD.pk_id, NEW.pk_id), IIF(INSERTING, 'INSERT', IIF(DELETING, 'DELETE', 'UPDATE')), NULLIF(:o, ''), NULLIF(:n, ''));
END^
CREATE TRIGGER ct_works_log FOR CT_Works ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 10 AS
DECLARE o VARCHAR(3000) = '';
DECLARE n VARCHAR(3000) = '';
BEGIN
    IF (INSERTING) THEN
        n = IIF(NEW.name IS NULL, '', 'name=' || NEW.name || '; ') ||
            IIF(NEW.price IS NULL, '', 'price=' || IIF(ABS(NEW.price) < 1E14, CAST(CAST(NEW.price AS NUMERIC(18,4)) AS VARCHAR(24)), CAST(NEW.price AS VARCHAR(24))) || '; ');
    ELSE IF (DELETING) THEN
        o = IIF(OLD.name IS NULL, '', 'name=' || OLD.name || '; ') ||
            IIF(OLD.price IS NULL, '', 'price=' || IIF(ABS(OLD.price) < 1E14, CAST(CAST(OLD.price AS NUMERIC(18,4)) AS VARCHAR(24)), CAST(OLD.price AS VARCHAR(24))) || '; ');
    ELSE
    BEGIN
        IF (NEW.name IS DISTINCT FROM OLD.name) THEN BEGIN o = o || 'name=' || COALESCE(OLD.name, '<NULL>') || '; ';
            n = n || 'name=' || COALESCE(NEW.name, '<NULL>') || '; '; END
        IF (NEW.price IS DISTINCT FROM OLD.price) THEN BEGIN o = o || 'price=' || COALESCE(IIF(ABS(OLD.price) < 1E14, CAST(CAST(OLD.price AS NUMERIC(18,4)) AS VARCHAR(24)), CAST(OLD.price AS VARCHAR(24))), '<NULL>') || '; ';
            n = n || 'price=' || COALESCE(IIF(ABS(NEW.price) < 1E14, CAST(CAST(NEW.price AS NUMERIC(18,4)) AS VARCHAR(24)), CAST(NEW.price AS VARCHAR(24))), '<NULL>') || '; '; END
        IF (NEW.ct_fk IS DISTINCT FROM OLD.ct_fk) THEN BEGIN o = o || 'ct_fk=' || COALESCE(OLD.ct_fk, '<NULL>') || '; ';
            n = n || 'ct_fk=' || COALESCE(NEW.ct_fk, '<NULL>') || '; '; END
        IF (o = '') THEN EXIT;
    END
    INSERT INTO Change_Log (pk_id, "AT", user_name, table_name, row_key, ct_fk, action, old_values, new_values)
    VALUES (NEXT VALUE FOR gen_change_log_id, CURRENT_TIMESTAMP,
        COALESCE(IIF(CURRENT_USER = 'SYSDBA', RDB$GET_CONTEXT('USER_SESSION', 'TORQUIL_USER'), NULL), CURRENT_USER),
        'CT_WORKS', IIF(DELETING, OLD.pk_id, NEW.pk_id), IIF(DELETING, OLD.ct_fk, NEW.ct_fk), IIF(INSERTING, 'INSERT', IIF(DELETING, 'DELETE', 'UPDATE')), NULLIF(:o, ''), NULLIF(:n, ''));
END^
CREATE TRIGGER ct_spares_log FOR CT_Spares ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 10 AS
DECLARE o VARCHAR(3000) = '';
DECLARE n VARCHAR(3000) = '';
BEGIN
    IF (INSERTING) THEN
        n = IIF(NEW.name IS NULL, '', 'name=' || NEW.name || '; ') ||
            IIF(NEW.price IS NULL, '', 'price=' || IIF(ABS(NEW.price) < 1E14, CAST(CAST(NEW.price AS NUMERIC(18,4)) AS VARCHAR(24)), CAST(NEW.price AS VARCHAR(24))) || '; ') ||
            IIF(NEW.num IS NULL, '', 'num=' || NEW.num || '; ') ||
            IIF(NEW.art IS NULL, '', 'art=' || NEW.art || '; ') ||
            IIF(NEW.maker IS NULL, '', 'maker=' || NEW.maker || '; ');
    ELSE IF (DELETING) THEN
        o = IIF(OLD.name IS NULL, '', 'name=' || OLD.name || '; ') ||
            IIF(OLD.price IS NULL, '', 'price=' || IIF(ABS(OLD.price) < 1E14, CAST(CAST(OLD.price AS NUMERIC(18,4)) AS VARCHAR(24)), CAST(OLD.price AS VARCHAR(24))) || '; ') ||
            IIF(OLD.num IS NULL, '', 'num=' || OLD.num || '; ') ||
            IIF(OLD.art IS NULL, '', 'art=' || OLD.art || '; ') ||
            IIF(OLD.maker IS NULL, '', 'maker=' || OLD.maker || '; ');
    ELSE
    BEGIN
        IF (NEW.name IS DISTINCT FROM OLD.name) THEN BEGIN o = o || 'name=' || COALESCE(OLD.name, '<NULL>') || '; ';
            n = n || 'name=' || COALESCE(NEW.name, '<NULL>') || '; '; END
        IF (NEW.price IS DISTINCT FROM OLD.price) THEN BEGIN o = o || 'price=' || COALESCE(IIF(ABS(OLD.price) < 1E14, CAST(CAST(OLD.price AS NUMERIC(18,4)) AS VARCHAR(24)), CAST(OLD.price AS VARCHAR(24))), '<NULL>') || '; ';
            n = n || 'price=' || COALESCE(IIF(ABS(NEW.price) < 1E14, CAST(CAST(NEW.price AS NUMERIC(18,4)) AS VARCHAR(24)), CAST(NEW.price AS VARCHAR(24))), '<NULL>') || '; '; END
        IF (NEW.num IS DISTINCT FROM OLD.num) THEN BEGIN o = o || 'num=' || COALESCE(OLD.num, '<NULL>') || '; ';
            n = n || 'num=' || COALESCE(NEW.num, '<NULL>') || '; '; END
        IF (NEW.art IS DISTINCT FROM OLD.art) THEN BEGIN o = o || 'art=' || COALESCE(OLD.art, '<NULL>') || '; ';
            n = n || 'art=' || COALESCE(NEW.art, '<NULL>') || '; '; END
        IF (NEW.maker IS DISTINCT FROM OLD.maker) THEN BEGIN o = o || 'maker=' || COALESCE(OLD.maker, '<NULL>') || '; ';
            n = n || 'maker=' || COALESCE(NEW.maker, '<NULL>') || '; '; END
        IF (NEW.ct_fk IS DISTINCT FROM OLD.ct_fk) THEN BEGIN o = o || 'ct_fk=' || COALESCE(OLD.ct_fk, '<NULL>') || '; ';
            n = n || 'ct_fk=' || COALESCE(NEW.ct_fk, '<NULL>') || '; '; END
        IF (o = '') THEN EXIT;
    END
    INSERT INTO Change_Log (pk_id, "AT", user_name, table_name, row_key, ct_fk, action, old_values, new_values)
    VALUES (NEXT VALUE FOR gen_change_log_id, CURRENT_TIMESTAMP,
        COALESCE(IIF(CURRENT_USER = 'SYSDBA', RDB$GET_CONTEXT('USER_SESSION', 'TORQUIL_USER'), NULL), CURRENT_USER),
        'CT_SPARES', IIF(DELETING, OLD.pk_id, NEW.pk_id), IIF(DELETING, OLD.ct_fk, NEW.ct_fk), IIF(INSERTING, 'INSERT', IIF(DELETING, 'DELETE', 'UPDATE')), NULLIF(:o, ''), NULLIF(:n, ''));
END^
CREATE TRIGGER ct_own_log FOR Ct_Own ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 10 AS
DECLARE o VARCHAR(3000) = '';
DECLARE n VARCHAR(3000) = '';
BEGIN
    IF (INSERTING) THEN
        n = IIF(NEW.name IS NULL, '', 'name=' || NEW.name || '; ') ||
            IIF(NEW.quantity IS NULL, '', 'quantity=' || NEW.quantity || '; ') ||
            IIF(NEW.note IS NULL, '', 'note=' || NEW.note || '; ');
    ELSE IF (DELETING) THEN
        o = IIF(OLD.name IS NULL, '', 'name=' || OLD.name || '; ') ||
            IIF(OLD.quantity IS NULL, '', 'quantity=' || OLD.quantity || '; ') ||
            IIF(OLD.note IS NULL, '', 'note=' || OLD.note || '; ');
    ELSE
    BEGIN
        IF (NEW.name IS DISTINCT FROM OLD.name) THEN BEGIN o = o || 'name=' || COALESCE(OLD.name, '<NULL>') || '; ';
            n = n || 'name=' || COALESCE(NEW.name, '<NULL>') || '; '; END
        IF (NEW.quantity IS DISTINCT FROM OLD.quantity) THEN BEGIN o = o || 'quantity=' || COALESCE(OLD.quantity, '<NULL>') || '; ';
            n = n || 'quantity=' || COALESCE(NEW.quantity, '<NULL>') || '; '; END
        IF (NEW.note IS DISTINCT FROM OLD.note) THEN BEGIN o = o || 'note=' || COALESCE(OLD.note, '<NULL>') || '; ';
            n = n || 'note=' || COALESCE(NEW.note, '<NULL>') || '; '; END
        IF (NEW.ct_fk IS DISTINCT FROM OLD.ct_fk) THEN BEGIN o = o || 'ct_fk=' || COALESCE(OLD.ct_fk, '<NULL>') || '; ';
            n = n || 'ct_fk=' || COALESCE(NEW.ct_fk, '<NULL>') || '; '; END
        IF (o = '') THEN EXIT;
    END
    INSERT INTO Change_Log (pk_id, "AT", user_name, table_name, row_key, ct_fk, action, old_values, new_values)
    VALUES (NEXT VALUE FOR gen_change_log_id, CURRENT_TIMESTAMP,
        COALESCE(IIF(CURRENT_USER = 'SYSDBA', RDB$GET_CONTEXT('USER_SESSION', 'TORQUIL_USER'), NULL), CURRENT_USER),
        'CT_OWN', IIF(DELETING, OLD.pk_id, NEW.pk_id), IIF(DELETING, OLD.ct_fk, NEW.ct_fk), IIF(INSERTING, 'INSERT', IIF(DELETING, 'DELETE', 'UPDATE')), NULLIF(:o, ''), NULLIF(:n, ''));
END^
CREATE TRIGGER payments_log FOR Payments ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 10 AS
DECLARE o VARCHAR(3000) = '';
DECLARE n VARCHAR(3000) = '';
BEGIN
    IF (INSERTING) THEN
        n = IIF(NEW.p_date IS NULL, '', 'p_date=' || NEW.p_date || '; ') ||
            IIF(NEW.amount IS NULL, '', 'amount=' || NEW.amount || '; ') ||
            IIF(NEW.method IS NULL, '', 'method=' || NEW.method || '; ') ||
            IIF(NEW.note IS NULL, '', 'note=' || NEW.note || '; ');
    ELSE IF (DELETING) THEN
        o = IIF(OLD.p_date IS NULL, '', 'p_date=' || OLD.p_date || '; ') ||
            IIF(OLD.amount IS NULL, '', 'amount=' || OLD.amount || '; ') ||
            IIF(OLD.method IS NULL, '', 'method=' || OLD.method || '; ') ||
            IIF(OLD.note IS NULL, '', 'note=' || OLD.note || '; ');
    ELSE
    BEGIN
        IF (NEW.p_date IS DISTINCT FROM OLD.p_date) THEN BEGIN o = o || 'p_date=' || COALESCE(OLD.p_date, '<NULL>') || '; ';
            n = n || 'p_date=' || COALESCE(NEW.p_date, '<NULL>') || '; '; END
        IF (NEW.amount IS DISTINCT FROM OLD.amount) THEN BEGIN o = o || 'amount=' || COALESCE(OLD.amount, '<NULL>') || '; ';
            n = n || 'amount=' || COALESCE(NEW.amount, '<NULL>') || '; '; END
        IF (NEW.method IS DISTINCT FROM OLD.method) THEN BEGIN o = o || 'method=' || COALESCE(OLD.method, '<NULL>') || '; ';
            n = n || 'method=' || COALESCE(NEW.method, '<NULL>') || '; '; END
        IF (NEW.note IS DISTINCT FROM OLD.note) THEN BEGIN o = o || 'note=' || COALESCE(OLD.note, '<NULL>') || '; ';
            n = n || 'note=' || COALESCE(NEW.note, '<NULL>') || '; '; END
        IF (NEW.ct_fk IS DISTINCT FROM OLD.ct_fk) THEN BEGIN o = o || 'ct_fk=' || COALESCE(OLD.ct_fk, '<NULL>') || '; ';
            n = n || 'ct_fk=' || COALESCE(NEW.ct_fk, '<NULL>') || '; '; END
        IF (o = '') THEN EXIT;
    END
    INSERT INTO Change_Log (pk_id, "AT", user_name, table_name, row_key, ct_fk, action, old_values, new_values)
    VALUES (NEXT VALUE FOR gen_change_log_id, CURRENT_TIMESTAMP,
        COALESCE(IIF(CURRENT_USER = 'SYSDBA', RDB$GET_CONTEXT('USER_SESSION', 'TORQUIL_USER'), NULL), CURRENT_USER),
        'PAYMENTS', IIF(DELETING, OLD.pk_id, NEW.pk_id), IIF(DELETING, OLD.ct_fk, NEW.ct_fk), IIF(INSERTING, 'INSERT', IIF(DELETING, 'DELETE', 'UPDATE')), NULLIF(:o, ''), NULLIF(:n, ''));
END^
CREATE TRIGGER cars_log FOR Cars ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 10 AS
DECLARE o VARCHAR(3000) = '';
DECLARE n VARCHAR(3000) = '';
BEGIN
    IF (INSERTING) THEN
        n = IIF(NEW.dev IS NULL, '', 'dev=' || NEW.dev || '; ') ||
            IIF(NEW.mod IS NULL, '', 'mod=' || NEW.mod || '; ') ||
            IIF(NEW.gnum IS NULL, '', 'gnum=' || NEW.gnum || '; ') ||
            IIF(NEW.region IS NULL, '', 'region=' || NEW.region || '; ') ||
            IIF(NEW.d_year IS NULL, '', 'd_year=' || NEW.d_year || '; ') ||
            IIF(NEW.vin IS NULL, '', 'vin=' || NEW.vin || '; ') ||
            IIF(NEW.color IS NULL, '', 'color=' || NEW.color || '; ') ||
            IIF(NEW.engine IS NULL, '', 'engine=' || NEW.engine || '; ') ||
            IIF(NEW.engine2 IS NULL, '', 'engine2=' || NEW.engine2 || '; ') ||
            IIF(NEW.body IS NULL, '', 'body=' || NEW.body || '; ') ||
            IIF(NEW.body2 IS NULL, '', 'body2=' || NEW.body2 || '; ') ||
            IIF(NEW.km IS NULL, '', 'km=' || NEW.km || '; ') ||
            IIF(NEW.owner IS NULL, '', 'owner=' || NEW.owner || '; ') ||
            IIF(NEW.phone IS NULL, '', 'phone=' || NEW.phone || '; ');
    ELSE IF (DELETING) THEN
        o = IIF(OLD.dev IS NULL, '', 'dev=' || OLD.dev || '; ') ||
            IIF(OLD.mod IS NULL, '', 'mod=' || OLD.mod || '; ') ||
            IIF(OLD.gnum IS NULL, '', 'gnum=' || OLD.gnum || '; ') ||
            IIF(OLD.region IS NULL, '', 'region=' || OLD.region || '; ') ||
            IIF(OLD.d_year IS NULL, '', 'd_year=' || OLD.d_year || '; ') ||
            IIF(OLD.vin IS NULL, '', 'vin=' || OLD.vin || '; ') ||
            IIF(OLD.color IS NULL, '', 'color=' || OLD.color || '; ') ||
            IIF(OLD.engine IS NULL, '', 'engine=' || OLD.engine || '; ') ||
            IIF(OLD.engine2 IS NULL, '', 'engine2=' || OLD.engine2 || '; ') ||
            IIF(OLD.body IS NULL, '', 'body=' || OLD.body || '; ') ||
            IIF(OLD.body2 IS NULL, '', 'body2=' || OLD.body2 || '; ') ||
            IIF(OLD.km IS NULL, '', 'km=' || OLD.km || '; ') ||
            IIF(OLD.owner IS NULL, '', 'owner=' || OLD.owner || '; ') ||
            IIF(OLD.phone IS NULL, '', 'phone=' || OLD.phone || '; ');
    ELSE
    BEGIN
        IF (NEW.dev IS DISTINCT FROM OLD.dev) THEN BEGIN o = o || 'dev=' || COALESCE(OLD.dev, '<NULL>') || '; ';
            n = n || 'dev=' || COALESCE(NEW.dev, '<NULL>') || '; '; END
        IF (NEW.mod IS DISTINCT FROM OLD.mod) THEN BEGIN o = o || 'mod=' || COALESCE(OLD.mod, '<NULL>') || '; ';
            n = n || 'mod=' || COALESCE(NEW.mod, '<NULL>') || '; '; END
        IF (NEW.gnum IS DISTINCT FROM OLD.gnum) THEN BEGIN o = o || 'gnum=' || COALESCE(OLD.gnum, '<NULL>') || '; ';
            n = n || 'gnum=' || COALESCE(NEW.gnum, '<NULL>') || '; '; END
        IF (NEW.region IS DISTINCT FROM OLD.region) THEN BEGIN o = o || 'region=' || COALESCE(OLD.region, '<NULL>') || '; ';
            n = n || 'region=' || COALESCE(NEW.region, '<NULL>') || '; '; END
        IF (NEW.d_year IS DISTINCT FROM OLD.d_year) THEN BEGIN o = o || 'd_year=' || COALESCE(OLD.d_year, '<NULL>') || '; ';
            n = n || 'd_year=' || COALESCE(NEW.d_year, '<NULL>') || '; '; END
        IF (NEW.vin IS DISTINCT FROM OLD.vin) THEN BEGIN o = o || 'vin=' || COALESCE(OLD.vin, '<NULL>') || '; ';
            n = n || 'vin=' || COALESCE(NEW.vin, '<NULL>') || '; '; END
        IF (NEW.color IS DISTINCT FROM OLD.color) THEN BEGIN o = o || 'color=' || COALESCE(OLD.color, '<NULL>') || '; ';
            n = n || 'color=' || COALESCE(NEW.color, '<NULL>') || '; '; END
        IF (NEW.engine IS DISTINCT FROM OLD.engine) THEN BEGIN o = o || 'engine=' || COALESCE(OLD.engine, '<NULL>') || '; ';
            n = n || 'engine=' || COALESCE(NEW.engine, '<NULL>') || '; '; END
        IF (NEW.engine2 IS DISTINCT FROM OLD.engine2) THEN BEGIN o = o || 'engine2=' || COALESCE(OLD.engine2, '<NULL>') || '; ';
            n = n || 'engine2=' || COALESCE(NEW.engine2, '<NULL>') || '; '; END
        IF (NEW.body IS DISTINCT FROM OLD.body) THEN BEGIN o = o || 'body=' || COALESCE(OLD.body, '<NULL>') || '; ';
            n = n || 'body=' || COALESCE(NEW.body, '<NULL>') || '; '; END
        IF (NEW.body2 IS DISTINCT FROM OLD.body2) THEN BEGIN o = o || 'body2=' || COALESCE(OLD.body2, '<NULL>') || '; ';
            n = n || 'body2=' || COALESCE(NEW.body2, '<NULL>') || '; '; END
        IF (NEW.km IS DISTINCT FROM OLD.km) THEN BEGIN o = o || 'km=' || COALESCE(OLD.km, '<NULL>') || '; ';
            n = n || 'km=' || COALESCE(NEW.km, '<NULL>') || '; '; END
        IF (NEW.owner IS DISTINCT FROM OLD.owner) THEN BEGIN o = o || 'owner=' || COALESCE(OLD.owner, '<NULL>') || '; ';
            n = n || 'owner=' || COALESCE(NEW.owner, '<NULL>') || '; '; END
        IF (NEW.phone IS DISTINCT FROM OLD.phone) THEN BEGIN o = o || 'phone=' || COALESCE(OLD.phone, '<NULL>') || '; ';
            n = n || 'phone=' || COALESCE(NEW.phone, '<NULL>') || '; '; END
        IF (o = '') THEN EXIT;
    END
    INSERT INTO Change_Log (pk_id, "AT", user_name, table_name, row_key, ct_fk, action, old_values, new_values)
    VALUES (NEXT VALUE FOR gen_change_log_id, CURRENT_TIMESTAMP,
        COALESCE(IIF(CURRENT_USER = 'SYSDBA', RDB$GET_CONTEXT('USER_SESSION', 'TORQUIL_USER'), NULL), CURRENT_USER),
        'CARS', IIF(DELETING, OLD.pk_id, NEW.pk_id), NULL, IIF(INSERTING, 'INSERT', IIF(DELETING, 'DELETE', 'UPDATE')), NULLIF(:o, ''), NULLIF(:n, ''));
END^
CREATE TRIGGER works_price_log FOR Works ACTIVE AFTER UPDATE POSITION 10 AS
DECLARE o VARCHAR(3000) = '';
DECLARE n VARCHAR(3000) = '';
BEGIN
    IF (NEW.price IS DISTINCT FROM OLD.price) THEN BEGIN o = o || 'price=' || COALESCE(IIF(ABS(OLD.price) < 1E14, CAST(CAST(OLD.price AS NUMERIC(18,4)) AS VARCHAR(24)), CAST(OLD.price AS VARCHAR(24))), '<NULL>') || '; ';
        n = n || 'price=' || COALESCE(IIF(ABS(NEW.price) < 1E14, CAST(CAST(NEW.price AS NUMERIC(18,4)) AS VARCHAR(24)), CAST(NEW.price AS VARCHAR(24))), '<NULL>') || '; '; END
    IF (o = '') THEN EXIT;
    INSERT INTO Change_Log (pk_id, "AT", user_name, table_name, row_key, ct_fk, action, old_values, new_values)
    VALUES (NEXT VALUE FOR gen_change_log_id, CURRENT_TIMESTAMP,
        COALESCE(IIF(CURRENT_USER = 'SYSDBA', RDB$GET_CONTEXT('USER_SESSION', 'TORQUIL_USER'), NULL), CURRENT_USER),
        'WORKS', NEW.pk_id, NULL, 'UPDATE', NULLIF(:o, ''), NULLIF(:n, ''));
END^
CREATE TRIGGER spares_price_log FOR Spares ACTIVE AFTER UPDATE POSITION 10 AS
DECLARE o VARCHAR(3000) = '';
DECLARE n VARCHAR(3000) = '';
BEGIN
    IF (NEW.price IS DISTINCT FROM OLD.price) THEN BEGIN o = o || 'price=' || COALESCE(IIF(ABS(OLD.price) < 1E14, CAST(CAST(OLD.price AS NUMERIC(18,4)) AS VARCHAR(24)), CAST(OLD.price AS VARCHAR(24))), '<NULL>') || '; ';
        n = n || 'price=' || COALESCE(IIF(ABS(NEW.price) < 1E14, CAST(CAST(NEW.price AS NUMERIC(18,4)) AS VARCHAR(24)), CAST(NEW.price AS VARCHAR(24))), '<NULL>') || '; '; END
    IF (o = '') THEN EXIT;
    INSERT INTO Change_Log (pk_id, "AT", user_name, table_name, row_key, ct_fk, action, old_values, new_values)
    VALUES (NEXT VALUE FOR gen_change_log_id, CURRENT_TIMESTAMP,
        COALESCE(IIF(CURRENT_USER = 'SYSDBA', RDB$GET_CONTEXT('USER_SESSION', 'TORQUIL_USER'), NULL), CURRENT_USER),
        'SPARES', NEW.pk_id, NULL, 'UPDATE', NULLIF(:o, ''), NULLIF(:n, ''));
END^

SET TERM ; ^
-- The log is written by the triggers alone.
GRANT INSERT ON Change_Log TO TRIGGER contracts_log;
GRANT USAGE ON SEQUENCE gen_change_log_id TO TRIGGER contracts_log;
GRANT INSERT ON Change_Log TO TRIGGER ct_works_log;
GRANT USAGE ON SEQUENCE gen_change_log_id TO TRIGGER ct_works_log;
GRANT INSERT ON Change_Log TO TRIGGER ct_spares_log;
GRANT USAGE ON SEQUENCE gen_change_log_id TO TRIGGER ct_spares_log;
GRANT INSERT ON Change_Log TO TRIGGER ct_own_log;
GRANT USAGE ON SEQUENCE gen_change_log_id TO TRIGGER ct_own_log;
GRANT INSERT ON Change_Log TO TRIGGER payments_log;
GRANT USAGE ON SEQUENCE gen_change_log_id TO TRIGGER payments_log;
GRANT INSERT ON Change_Log TO TRIGGER cars_log;
GRANT USAGE ON SEQUENCE gen_change_log_id TO TRIGGER cars_log;
GRANT INSERT ON Change_Log TO TRIGGER works_price_log;
GRANT USAGE ON SEQUENCE gen_change_log_id TO TRIGGER works_price_log;
GRANT INSERT ON Change_Log TO TRIGGER spares_price_log;
GRANT USAGE ON SEQUENCE gen_change_log_id TO TRIGGER spares_price_log;

-- The contracts' sums (step 5) are written by the lines' and payments'
-- triggers whoever saves the line: they may, whatever the role.
GRANT EXECUTE ON PROCEDURE ct_sum_works TO TRIGGER ct_works_sum;
GRANT EXECUTE ON PROCEDURE ct_sum_spares TO TRIGGER ct_spares_sum;
GRANT EXECUTE ON PROCEDURE ct_sum_paid TO TRIGGER payments_sum;
GRANT SELECT ON CT_Works TO PROCEDURE ct_sum_works;
GRANT SELECT ON CT_Spares TO PROCEDURE ct_sum_spares;
GRANT SELECT ON Payments TO PROCEDURE ct_sum_paid;
GRANT UPDATE ON Contracts TO PROCEDURE ct_sum_works;
GRANT UPDATE ON Contracts TO PROCEDURE ct_sum_spares;
GRANT UPDATE ON Contracts TO PROCEDURE ct_sum_paid;
GRANT UPDATE ON Contracts TO TRIGGER ct_works_sum;
GRANT UPDATE ON Contracts TO TRIGGER ct_spares_sum;
GRANT UPDATE ON Contracts TO TRIGGER payments_sum;
GRANT EXECUTE ON FUNCTION money_units TO TRIGGER ct_works_sum;
GRANT EXECUTE ON FUNCTION money_units TO TRIGGER ct_spares_sum;
GRANT EXECUTE ON FUNCTION money_units TO PROCEDURE ct_sum_works;
GRANT EXECUTE ON FUNCTION money_units TO PROCEDURE ct_sum_spares;
GRANT USAGE ON SEQUENCE gen_payments_id TO TRIGGER payments_bi;
GRANT USAGE ON SEQUENCE gen_ct_own_id TO TRIGGER ct_own_bi;

GRANT SELECT ON Change_Log TO PROCEDURE contract_authors;

CREATE ROLE TORQUIL_OWNER;
CREATE ROLE TORQUIL_CLERK;

-- The owner: everything but writing the log.
GRANT ALL ON Contracts TO ROLE TORQUIL_OWNER;
GRANT ALL ON Cars TO ROLE TORQUIL_OWNER;
GRANT ALL ON Works TO ROLE TORQUIL_OWNER;
GRANT ALL ON Spares TO ROLE TORQUIL_OWNER;
GRANT ALL ON CT_Works TO ROLE TORQUIL_OWNER;
GRANT ALL ON CT_Spares TO ROLE TORQUIL_OWNER;
GRANT ALL ON Ct_Own TO ROLE TORQUIL_OWNER;
GRANT ALL ON Payments TO ROLE TORQUIL_OWNER;
GRANT ALL ON meh TO ROLE TORQUIL_OWNER;
GRANT ALL ON dev TO ROLE TORQUIL_OWNER;
GRANT ALL ON models TO ROLE TORQUIL_OWNER;
GRANT ALL ON engines TO ROLE TORQUIL_OWNER;
GRANT ALL ON engine_sp TO ROLE TORQUIL_OWNER;
GRANT ALL ON body TO ROLE TORQUIL_OWNER;
GRANT ALL ON body_sp TO ROLE TORQUIL_OWNER;
GRANT ALL ON Settings TO ROLE TORQUIL_OWNER;
GRANT SELECT ON Change_Log TO ROLE TORQUIL_OWNER;
GRANT EXECUTE ON PROCEDURE contract_authors TO ROLE TORQUIL_OWNER;
GRANT SELECT ON Schema_Version TO ROLE TORQUIL_OWNER;
GRANT SELECT ON Car_Visits TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_doc_num TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_contracts_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_cars_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_works_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_spares_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_ct_works_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_ct_spares_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_ct_own_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_payments_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_meh_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_dev_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_models_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_engines_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_engine_sp_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_body_id TO ROLE TORQUIL_OWNER;
GRANT USAGE ON SEQUENCE gen_body_sp_id TO ROLE TORQUIL_OWNER;

-- The clerk: contracts, their lines, the customer's own parts, cars and
-- payments; works and spares added from the pickers (with their article and
-- maker), their names corrected, their prices never changed; only a
-- contract's lines deleted; the mechanics and their shares only read.
GRANT SELECT, INSERT, UPDATE ON Contracts TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT, UPDATE ON Cars TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT, UPDATE, DELETE ON CT_Works TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT, UPDATE, DELETE ON CT_Spares TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT, UPDATE, DELETE ON Ct_Own TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT, UPDATE ON Payments TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT, UPDATE (name) ON Works TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT, UPDATE (name) ON Spares TO ROLE TORQUIL_CLERK;
GRANT SELECT ON meh TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT ON dev TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT ON models TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT ON engines TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT ON engine_sp TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT ON body TO ROLE TORQUIL_CLERK;
GRANT SELECT, INSERT ON body_sp TO ROLE TORQUIL_CLERK;
GRANT SELECT ON Settings TO ROLE TORQUIL_CLERK;
GRANT EXECUTE ON PROCEDURE contract_authors TO ROLE TORQUIL_CLERK;
GRANT SELECT ON Schema_Version TO ROLE TORQUIL_CLERK;
GRANT SELECT ON Car_Visits TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_doc_num TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_contracts_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_cars_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_works_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_spares_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_ct_works_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_ct_spares_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_ct_own_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_payments_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_dev_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_models_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_engines_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_engine_sp_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_body_id TO ROLE TORQUIL_CLERK;
GRANT USAGE ON SEQUENCE gen_body_sp_id TO ROLE TORQUIL_CLERK;
