-- Step 10: a contract's kept sums are written by the database alone.
-- Step 9 let both roles update every column of Contracts, the sums of step
-- 5 among them: a login could set a contract's paid sum by hand, so that
-- the journal and the debtors showed it paid with no payment behind it and
-- nothing in the change log. The roles now update the contract's own
-- columns; the lines' and payments' triggers keep the sums with the rights
-- they hold themselves.
-- An update that moves a sum therefore comes from those triggers and
-- changes nothing else: contracts_log leaves it at once instead of
-- comparing every column on each line saved.
-- A column a later step adds to Contracts is granted to the roles there.

SET TERM ^ ;

-- The grants of step 9, whoever made them (the administrator who applied
-- that step may not be the one applying this).
EXECUTE BLOCK AS
DECLARE role_name VARCHAR(63);
DECLARE grantor VARCHAR(63);
BEGIN
    FOR SELECT DISTINCT TRIM(RDB$USER), TRIM(RDB$GRANTOR) FROM RDB$USER_PRIVILEGES
        WHERE RDB$RELATION_NAME = 'CONTRACTS' AND RDB$PRIVILEGE = 'U' AND RDB$FIELD_NAME IS NULL
          AND RDB$USER IN ('TORQUIL_OWNER', 'TORQUIL_CLERK') AND RDB$USER_TYPE = 13
        INTO :role_name, :grantor DO
        EXECUTE STATEMENT 'REVOKE UPDATE ON Contracts FROM ROLE ' || role_name || ' GRANTED BY "' || REPLACE(grantor, '"', '""') || '"';
END^

ALTER TRIGGER contracts_log AS
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
        IF (NEW.works_sum IS DISTINCT FROM OLD.works_sum OR NEW.spares_sum IS DISTINCT FROM OLD.spares_sum
            OR NEW.paid_sum IS DISTINCT FROM OLD.paid_sum) THEN EXIT;
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

SET TERM ; ^

GRANT UPDATE (pk_id, num, c_date, meh, rem, cr_fk, sysinfo, km, next_date, next_km, reminded, deadline, done_date,
    accepted, cust_address, car_value, extra_rule, extra_limit, accept_note) ON Contracts TO ROLE TORQUIL_OWNER;
GRANT UPDATE (pk_id, num, c_date, meh, rem, cr_fk, sysinfo, km, next_date, next_km, reminded, deadline, done_date,
    accepted, cust_address, car_value, extra_rule, extra_limit, accept_note) ON Contracts TO ROLE TORQUIL_CLERK;
