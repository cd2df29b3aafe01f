-- Step 8: the rows of step 7 for the cars whose contracts were there before
-- it. A car whose contracts changed after step 7 has its row already;
-- setting it again gives the same values.

SET TERM ^ ;

EXECUTE BLOCK AS
DECLARE car INTEGER;
BEGIN
    FOR SELECT DISTINCT cr_fk FROM Contracts WHERE cr_fk IS NOT NULL AND c_date IS NOT NULL INTO :car DO
        EXECUTE PROCEDURE car_visits_set(:car);
END^

SET TERM ; ^
