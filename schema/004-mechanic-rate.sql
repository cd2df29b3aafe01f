-- Step 4: each mechanic's share of the labour he did, in percent (0-100,
-- two decimals). Empty: no share recorded.

ALTER TABLE meh ADD rate NUMERIC(5,2);
