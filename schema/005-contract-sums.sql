-- Step 5: each contract's labour, parts and paid sums, kept by the database
-- so that the journal, the debts and the owner's reports read one row per
-- contract instead of all its lines and payments.
-- A line counts as the program counts it: labour its price, a part its
-- price times its number, each rounded to 1/10000 before it is added. A
-- contract with a line past the money limit (99999999999,9999) has no sum
-- (NULL): it is shown as the program shows such a line. Paid is what was
-- paid less the refunds (method 'ВОЗВРАТ').
-- Every change of a line or payment sets its contract's sum anew from all
-- of the contract's rows, so no sum can drift. The sums of the contracts
-- already in the database are set by step 6 (a column is not written in
-- the transaction that adds it).

ALTER TABLE Contracts ADD works_sum NUMERIC(18,4);
ALTER TABLE Contracts ADD spares_sum NUMERIC(18,4);
ALTER TABLE Contracts ADD paid_sum NUMERIC(18,2);

SET TERM ^ ;

CREATE PROCEDURE ct_sum_works (ct INTEGER) AS
BEGIN
    UPDATE Contracts SET works_sum = (
        SELECT IIF(MAX(IIF(ABS(COALESCE(price, 0)) * 10000 > 999999999999999, 1, 0)) = 1, NULL,
                   COALESCE(SUM(IIF(ABS(COALESCE(price, 0)) * 10000 > 999999999999999, 0,
                                    CAST(COALESCE(price, 0) AS NUMERIC(18,4)))), 0))
        FROM CT_Works WHERE ct_fk = :ct)
    WHERE pk_id = :ct;
END^

CREATE PROCEDURE ct_sum_spares (ct INTEGER) AS
BEGIN
    UPDATE Contracts SET spares_sum = (
        SELECT IIF(MAX(IIF(ABS(COALESCE(price, 0) * COALESCE(num, 0)) * 10000 > 999999999999999, 1, 0)) = 1, NULL,
                   COALESCE(SUM(IIF(ABS(COALESCE(price, 0) * COALESCE(num, 0)) * 10000 > 999999999999999, 0,
                                    CAST(COALESCE(price, 0) * COALESCE(num, 0) AS NUMERIC(18,4)))), 0))
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

CREATE TRIGGER ct_works_sum FOR CT_Works ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 5 AS
BEGIN
    IF (NOT DELETING) THEN EXECUTE PROCEDURE ct_sum_works(NEW.ct_fk);
    IF (DELETING OR (UPDATING AND OLD.ct_fk IS DISTINCT FROM NEW.ct_fk)) THEN EXECUTE PROCEDURE ct_sum_works(OLD.ct_fk);
END^

CREATE TRIGGER ct_spares_sum FOR CT_Spares ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 5 AS
BEGIN
    IF (NOT DELETING) THEN EXECUTE PROCEDURE ct_sum_spares(NEW.ct_fk);
    IF (DELETING OR (UPDATING AND OLD.ct_fk IS DISTINCT FROM NEW.ct_fk)) THEN EXECUTE PROCEDURE ct_sum_spares(OLD.ct_fk);
END^

CREATE TRIGGER payments_sum FOR Payments ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 5 AS
BEGIN
    IF (NOT DELETING) THEN EXECUTE PROCEDURE ct_sum_paid(NEW.ct_fk);
    IF (DELETING OR (UPDATING AND OLD.ct_fk IS DISTINCT FROM NEW.ct_fk)) THEN EXECUTE PROCEDURE ct_sum_paid(OLD.ct_fk);
END^

SET TERM ; ^
