-- Step 2: the payments of a contract. The amount is exact money; a refund
-- is a row of method 'ВОЗВРАТ' with a positive amount that counts against
-- what was paid. Who wrote a payment and when is filled by the database.

CREATE GENERATOR gen_payments_id;

CREATE TABLE Payments (
    pk_id INTEGER NOT NULL,
    ct_fk INTEGER NOT NULL,
    p_date DATE NOT NULL,
    amount NUMERIC(18,2) NOT NULL,
    method VARCHAR(20) NOT NULL,
    note VARCHAR(200),
    created_by VARCHAR(63),
    created_at TIMESTAMP,
    CONSTRAINT pk_payments PRIMARY KEY (pk_id)
);

CREATE INDEX payments_ct ON Payments (ct_fk);
CREATE INDEX payments_date ON Payments (p_date);

SET TERM ^ ;

CREATE TRIGGER payments_bi FOR Payments ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_payments_id, 1);
    NEW.created_by = CURRENT_USER;
    NEW.created_at = CURRENT_TIMESTAMP;
END^

SET TERM ; ^
