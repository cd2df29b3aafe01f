-- Step 6: the sums of step 5 for the contracts that were there before it.
-- Contracts changed after step 5 have theirs already; setting them again
-- gives the same values.

SET TERM ^ ;

EXECUTE BLOCK AS
DECLARE ct INTEGER;
BEGIN
    FOR SELECT pk_id FROM Contracts INTO :ct DO
    BEGIN
        EXECUTE PROCEDURE ct_sum_works(:ct);
        EXECUTE PROCEDURE ct_sum_spares(:ct);
        EXECUTE PROCEDURE ct_sum_paid(:ct);
    END
END^

SET TERM ; ^
