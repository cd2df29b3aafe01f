-- The database of the shop: thirteen tables, the contract number generator,
-- key generators with their before-insert triggers, and the indexes the
-- journal, the lookups and the line reads use.
-- Text is Windows-1251; connections declare no character set, so the bytes
-- pass unchanged.

CREATE GENERATOR gen_doc_num;

CREATE TABLE Contracts (
    pk_id INTEGER NOT NULL,
    num INTEGER,
    c_date DATE,
    meh VARCHAR(60),
    rem VARCHAR(1000),
    cr_fk INTEGER,
    sysinfo VARCHAR(30),
    CONSTRAINT pk_contracts PRIMARY KEY (pk_id)
);

CREATE TABLE Cars (
    pk_id INTEGER NOT NULL,
    dev VARCHAR(40),
    mod VARCHAR(40),
    gnum VARCHAR(15),
    region VARCHAR(5),
    d_year INTEGER,
    vin VARCHAR(20),
    color VARCHAR(40),
    engine VARCHAR(40),
    engine2 VARCHAR(60),
    body VARCHAR(40),
    body2 VARCHAR(60),
    km INTEGER,
    owner VARCHAR(100),
    phone VARCHAR(30),
    sysinfo VARCHAR(30),
    CONSTRAINT pk_cars PRIMARY KEY (pk_id)
);

CREATE TABLE Works (
    pk_id INTEGER NOT NULL,
    name VARCHAR(150),
    price DOUBLE PRECISION,
    sysinfo VARCHAR(30),
    CONSTRAINT pk_works PRIMARY KEY (pk_id)
);

CREATE TABLE Spares (
    pk_id INTEGER NOT NULL,
    name VARCHAR(150),
    price DOUBLE PRECISION,
    sysinfo VARCHAR(30),
    CONSTRAINT pk_spares PRIMARY KEY (pk_id)
);

CREATE TABLE CT_Works (
    pk_id INTEGER NOT NULL,
    ct_fk INTEGER,
    name VARCHAR(150),
    price DOUBLE PRECISION,
    CONSTRAINT pk_ct_works PRIMARY KEY (pk_id)
);

CREATE TABLE CT_Spares (
    pk_id INTEGER NOT NULL,
    ct_fk INTEGER,
    name VARCHAR(150),
    price DOUBLE PRECISION,
    num INTEGER,
    CONSTRAINT pk_ct_spares PRIMARY KEY (pk_id)
);

CREATE TABLE meh (
    pk_id INTEGER NOT NULL,
    name VARCHAR(60),
    CONSTRAINT pk_meh PRIMARY KEY (pk_id)
);

CREATE TABLE dev (
    pk_id INTEGER NOT NULL,
    name VARCHAR(40),
    CONSTRAINT pk_dev PRIMARY KEY (pk_id)
);

CREATE TABLE models (
    pk_id INTEGER NOT NULL,
    name VARCHAR(40),
    dv_fk INTEGER,
    CONSTRAINT pk_models PRIMARY KEY (pk_id)
);

CREATE TABLE engines (
    pk_id INTEGER NOT NULL,
    name VARCHAR(40),
    CONSTRAINT pk_engines PRIMARY KEY (pk_id)
);

CREATE TABLE engine_sp (
    pk_id INTEGER NOT NULL,
    name VARCHAR(60),
    en_fk INTEGER,
    CONSTRAINT pk_engine_sp PRIMARY KEY (pk_id)
);

CREATE TABLE body (
    pk_id INTEGER NOT NULL,
    name VARCHAR(40),
    CONSTRAINT pk_body PRIMARY KEY (pk_id)
);

CREATE TABLE body_sp (
    pk_id INTEGER NOT NULL,
    name VARCHAR(60),
    bd_fk INTEGER,
    CONSTRAINT pk_body_sp PRIMARY KEY (pk_id)
);

CREATE GENERATOR gen_contracts_id;
CREATE GENERATOR gen_cars_id;
CREATE GENERATOR gen_works_id;
CREATE GENERATOR gen_spares_id;
CREATE GENERATOR gen_ct_works_id;
CREATE GENERATOR gen_ct_spares_id;
CREATE GENERATOR gen_meh_id;
CREATE GENERATOR gen_dev_id;
CREATE GENERATOR gen_models_id;
CREATE GENERATOR gen_engines_id;
CREATE GENERATOR gen_engine_sp_id;
CREATE GENERATOR gen_body_id;
CREATE GENERATOR gen_body_sp_id;

SET TERM ^ ;

CREATE TRIGGER contracts_bi FOR Contracts ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_contracts_id, 1);
    IF (NEW.num IS NULL) THEN NEW.num = GEN_ID(gen_doc_num, 1);
END^

CREATE TRIGGER cars_bi FOR Cars ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_cars_id, 1);
END^

CREATE TRIGGER works_bi FOR Works ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_works_id, 1);
END^

CREATE TRIGGER spares_bi FOR Spares ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_spares_id, 1);
END^

CREATE TRIGGER ct_works_bi FOR CT_Works ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_ct_works_id, 1);
END^

CREATE TRIGGER ct_spares_bi FOR CT_Spares ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_ct_spares_id, 1);
END^

CREATE TRIGGER meh_bi FOR meh ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_meh_id, 1);
END^

CREATE TRIGGER dev_bi FOR dev ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_dev_id, 1);
END^

CREATE TRIGGER models_bi FOR models ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_models_id, 1);
END^

CREATE TRIGGER engines_bi FOR engines ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_engines_id, 1);
END^

CREATE TRIGGER engine_sp_bi FOR engine_sp ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_engine_sp_id, 1);
END^

CREATE TRIGGER body_bi FOR body ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_body_id, 1);
END^

CREATE TRIGGER body_sp_bi FOR body_sp ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
    NEW.pk_id = GEN_ID(gen_body_sp_id, 1);
END^

SET TERM ; ^

CREATE INDEX ix_contracts_c_date ON Contracts (c_date);
CREATE INDEX ix_contracts_cr_fk ON Contracts (cr_fk);
CREATE INDEX ix_contracts_num ON Contracts (num);
CREATE INDEX ix_contracts_sysinfo ON Contracts (sysinfo);
CREATE INDEX ix_cars_sysinfo ON Cars (sysinfo);
CREATE INDEX ix_cars_dev ON Cars (dev);
CREATE INDEX ix_works_name ON Works (name);
CREATE INDEX ix_works_sysinfo ON Works (sysinfo);
CREATE INDEX ix_spares_name ON Spares (name);
CREATE INDEX ix_spares_sysinfo ON Spares (sysinfo);
CREATE INDEX ix_ct_works_ct_fk ON CT_Works (ct_fk);
CREATE INDEX ix_ct_spares_ct_fk ON CT_Spares (ct_fk);
CREATE INDEX ix_meh_name ON meh (name);
CREATE INDEX ix_dev_name ON dev (name);
CREATE INDEX ix_models_dv_fk ON models (dv_fk);
CREATE INDEX ix_engines_name ON engines (name);
CREATE INDEX ix_engine_sp_en_fk ON engine_sp (en_fk);
CREATE INDEX ix_body_name ON body (name);
CREATE INDEX ix_body_sp_bd_fk ON body_sp (bd_fk);
