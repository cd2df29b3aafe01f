-- Step 5: each contract's labour, parts and paid sums, kept by the database
-- so that the journal, the debts and the owner's reports read one row per
-- contract instead of all its lines and payments.
-- A line counts as the program counts it: labour its price, a part its
-- price times its number, each rounded to 1/10000 before it is added. A
-- contract with a line past the money limit (99999999999,9999) has no sum
-- (NULL): it is shown as the program shows such a line. Paid is what was
-- paid less the refunds (method 'ВОЗВРАТ').
-- The sums are kept in whole units, so adding and taking away a row's
-- amount cannot drift from adding up all of the contract's rows. The sums
-- of the contracts already in the database are set by step 6 (a column is
-- not written in the transaction that adds it).

ALTER TABLE Contracts ADD works_sum NUMERIC(18,4);
ALTER TABLE Contracts ADD spares_sum NUMERIC(18,4);
ALTER TABLE Contracts ADD paid_sum NUMERIC(18,2);

SET TERM ^ ;

-- A price (or price times number) in the program's money units, 1/10000,
-- rounded as the program rounds (half to even); NULL past the money limit.
CREATE FUNCTION money_units (v DOUBLE PRECISION) RETURNS BIGINT AS
DECLARE x DOUBLE PRECISION;
DECLARE f DOUBLE PRECISION;
BEGIN
    x = COALESCE(v, 0) * 10000;
    IF (ABS(x) >= 1e16) THEN RETURN NULL;
    f = FLOOR(x);
    IF (x - f > 0.5 OR (x - f = 0.5 AND MOD(CAST(f AS BIGINT), 2) <> 0)) THEN f = f + 1;
    IF (ABS(f) > 999999999999999) THEN RETURN NULL;
    RETURN CAST(f AS BIGINT);
END^

-- Units times 0.0001 keeps them exact: the NUMERIC's own value is the units.
CREATE PROCEDURE ct_sum_works (ct INTEGER) AS
BEGIN
    UPDATE Contracts SET works_sum = (
        SELECT IIF(COUNT(*) = COUNT(money_units(price)), COALESCE(SUM(money_units(price)), 0) * CAST(0.0001 AS NUMERIC(18,4)), NULL)
        FROM CT_Works WHERE ct_fk = :ct)
    WHERE pk_id = :ct;
END^

CREATE PROCEDURE ct_sum_spares (ct INTEGER) AS
BEGIN
    UPDATE Contracts SET spares_sum = (
        SELECT IIF(COUNT(*) = COUNT(money_units(price * COALESCE(num, 0))),
                   COALESCE(SUM(money_units(price * COALESCE(num, 0))), 0) * CAST(0.0001 AS NUMERIC(18,4)), NULL)
        FROM CT_Spares WHERE ct_fk = :ct)
    WHERE pk_id = :ct;
END^

CREATE PROCEDURE ct_sum_paid (ct INTEGER) AS
BEGIN
    UPDATE Contracts SET paid_sum = (
        SELECT COALESCE(SUM(IIF(method = 'ВОЗВРАТ', -amount, amount)), 0)
        FROM Payments WHERE ct_fk = :ct)
    WHERE pk_id = :ct;
END^

CREATE TRIGGER contracts_sums_bi FOR Contracts ACTIVE BEFORE INSERT POSITION 5 AS
BEGIN
    IF (NEW.works_sum IS NULL) THEN NEW.works_sum = 0;
    IF (NEW.spares_sum IS NULL) THEN NEW.spares_sum = 0;
    IF (NEW.paid_sum IS NULL) THEN NEW.paid_sum = 0;
END^

-- A line added or deleted moves its contract's sum by its own amount (a
-- contract's lines are written one by one); a changed line, or one past
-- the limit deleted, sets the sum anew from all of the contract's lines.
CREATE TRIGGER ct_works_sum FOR CT_Works ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 5 AS
BEGIN
    IF (INSERTING) THEN
        UPDATE Contracts SET works_sum = works_sum + money_units(NEW.price) * CAST(0.0001 AS NUMERIC(18,4))
        WHERE pk_id = NEW.ct_fk;
    ELSE IF (DELETING AND money_units(OLD.price) IS NOT NULL) THEN
        UPDATE Contracts SET works_sum = works_sum - money_units(OLD.price) * CAST(0.0001 AS NUMERIC(18,4))
        WHERE pk_id = OLD.ct_fk;
    ELSE
    BEGIN
        EXECUTE PROCEDURE ct_sum_works(OLD.ct_fk);
        IF (UPDATING AND OLD.ct_fk IS DISTINCT FROM NEW.ct_fk) THEN EXECUTE PROCEDURE ct_sum_works(NEW.ct_fk);
    END
END^

CREATE TRIGGER ct_spares_sum FOR CT_Spares ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 5 AS
BEGIN
    IF (INSERTING) THEN
        UPDATE Contracts SET spares_sum = spares_sum + money_units(NEW.price * COALESCE(NEW.num, 0)) * CAST(0.0001 AS NUMERIC(18,4))
        WHERE pk_id = NEW.ct_fk;
    ELSE IF (DELETING AND money_units(OLD.price * COALESCE(OLD.num, 0)) IS NOT NULL) THEN
        UPDATE Contracts SET spares_sum = spares_sum - money_units(OLD.price * COALESCE(OLD.num, 0)) * CAST(0.0001 AS NUMERIC(18,4))
        WHERE pk_id = OLD.ct_fk;
    ELSE
    BEGIN
        EXECUTE PROCEDURE ct_sum_spares(OLD.ct_fk);
        IF (UPDATING AND OLD.ct_fk IS DISTINCT FROM NEW.ct_fk) THEN EXECUTE PROCEDURE ct_sum_spares(NEW.ct_fk);
    END
END^

CREATE TRIGGER payments_sum FOR Payments ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 5 AS
BEGIN
    IF (INSERTING) THEN
        UPDATE Contracts SET paid_sum = paid_sum + IIF(NEW.method = 'ВОЗВРАТ', -NEW.amount, NEW.amount)
        WHERE pk_id = NEW.ct_fk;
    ELSE IF (DELETING) THEN
        UPDATE Contracts SET paid_sum = paid_sum - IIF(OLD.method = 'ВОЗВРАТ', -OLD.amount, OLD.amount)
        WHERE pk_id = OLD.ct_fk;
    ELSE
    BEGIN
        EXECUTE PROCEDURE ct_sum_paid(OLD.ct_fk);
        IF (OLD.ct_fk IS DISTINCT FROM NEW.ct_fk) THEN EXECUTE PROCEDURE ct_sum_paid(NEW.ct_fk);
    END
END^

SET TERM ; ^
