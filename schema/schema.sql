-- Company database of the suite, SQLite dialect.
--
-- Conventions: text columns compare without regard to case (COLLATE NOCASE), floating-point
-- columns are DOUBLE, Booleans are BOOLEAN holding 1 / 0, dates are DATE holding ISO text
-- 'YYYY-MM-DD'. Every table has a primary key; key columns are NOT NULL.
-- Livello1 / Livello2 are the two sub-level codes of an article; '~ç~' means "no sub-level".
--
-- The loader splits this file at every ';' that ends a line: keep one statement per ';'
-- and no ';' at the end of a comment line.

-- ---------------------------------------------------------------- articles and BOM links

CREATE TABLE Articoli (
    Articolo        TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    ArtUM           TEXT COLLATE NOCASE,
    ArtUMVen        TEXT COLLATE NOCASE,
    ArtUMAcq        TEXT COLLATE NOCASE,
    FatConVen       DOUBLE DEFAULT 1,
    FatConAcq       DOUBLE DEFAULT 1,
    Sconto          TEXT COLLATE NOCASE,
    Lunghezza       DOUBLE DEFAULT 0,
    Larghezza       DOUBLE DEFAULT 0,
    Altezza         DOUBLE DEFAULT 0,
    Immagine        TEXT COLLATE NOCASE,
    DistBase        INTEGER DEFAULT 0,
    ArtGruppo       TEXT COLLATE NOCASE,
    ArtSottoGru     TEXT COLLATE NOCASE,
    IvaVendite      TEXT COLLATE NOCASE,
    Inattivo        TEXT COLLATE NOCASE,
    ArtClasseAttr1  TEXT COLLATE NOCASE,
    ArtClasseAttr2  TEXT COLLATE NOCASE,
    ArtClasseAttr3  TEXT COLLATE NOCASE,
    ArtClasseAttr4  TEXT COLLATE NOCASE,
    ArtClasseAttr5  TEXT COLLATE NOCASE,
    PRIMARY KEY (Articolo)
);
CREATE INDEX ArticoliDistBase ON Articoli (DistBase, Articolo);
CREATE INDEX ArticoliGruppo ON Articoli (ArtGruppo, ArtSottoGru);
CREATE INDEX ArticoliDescrizione ON Articoli (Descrizione);

-- One row per parent-component pair.
CREATE TABLE ArtLegami (
    ArticoloPadre   TEXT COLLATE NOCASE NOT NULL,
    ArticoloFiglio  TEXT COLLATE NOCASE NOT NULL,
    UM              TEXT COLLATE NOCASE,
    Qta             DOUBLE DEFAULT 0,
    QualeImporto    TEXT COLLATE NOCASE,
    Listino         TEXT COLLATE NOCASE,
    PRIMARY KEY (ArticoloPadre, ArticoloFiglio)
);
-- Implosion and substitution look links up by component.
CREATE INDEX ArtLegamiFiglio ON ArtLegami (ArticoloFiglio, ArticoloPadre);

-- ---------------------------------------------------------------- prices and costs

CREATE TABLE Listini (
    Listino         TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    Ivato           BOOLEAN DEFAULT 0,
    ScoSomSost      TEXT COLLATE NOCASE,
    Sconto          TEXT COLLATE NOCASE,
    PRIMARY KEY (Listino)
);

-- An article's price in a list from DataInizio on.
CREATE TABLE ArtListini (
    Articolo        TEXT COLLATE NOCASE NOT NULL,
    Listino         TEXT COLLATE NOCASE NOT NULL,
    Livello1        TEXT COLLATE NOCASE NOT NULL DEFAULT '~ç~',
    Livello2        TEXT COLLATE NOCASE NOT NULL DEFAULT '~ç~',
    DataInizio      DATE NOT NULL,
    Prezzo          DOUBLE DEFAULT 0,
    PrezzoLire      DOUBLE DEFAULT 0,
    ScoSomSost      TEXT COLLATE NOCASE,
    Sconto          TEXT COLLATE NOCASE,
    PRIMARY KEY (Articolo, Listino, Livello1, Livello2, DataInizio)
);
CREATE INDEX ArtListiniListino ON ArtListini (Listino, Articolo);

CREATE TABLE ArtLisPromozioni (
    Articolo        TEXT COLLATE NOCASE NOT NULL,
    Listino         TEXT COLLATE NOCASE NOT NULL,
    Livello1        TEXT COLLATE NOCASE NOT NULL DEFAULT '~ç~',
    Livello2        TEXT COLLATE NOCASE NOT NULL DEFAULT '~ç~',
    DataInizioProm  DATE NOT NULL,
    DataFineProm    DATE,
    Prezzo          DOUBLE DEFAULT 0,
    PrezzoLire      DOUBLE DEFAULT 0,
    Descrizione     TEXT COLLATE NOCASE,
    MessProm        TEXT COLLATE NOCASE,
    PRIMARY KEY (Articolo, Listino, Livello1, Livello2, DataInizioProm)
);

-- Yearly costs; the ...Lire columns hold the same value in lire.
CREATE TABLE ArticoliCosti (
    Anno                INTEGER NOT NULL,
    Articolo            TEXT COLLATE NOCASE NOT NULL,
    Livello1            TEXT COLLATE NOCASE NOT NULL DEFAULT '~ç~',
    Livello2            TEXT COLLATE NOCASE NOT NULL DEFAULT '~ç~',
    MedioPonderale      DOUBLE DEFAULT 0,
    MedioPonderaleLire  DOUBLE DEFAULT 0,
    CostoUltimo         DOUBLE DEFAULT 0,
    CostoUltimoLire     DOUBLE DEFAULT 0,
    Standard            DOUBLE DEFAULT 0,
    StandardLire        DOUBLE DEFAULT 0,
    PRIMARY KEY (Anno, Articolo, Livello1, Livello2)
);

CREATE TABLE TabIva (
    Iva             TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    Aliquota        DOUBLE DEFAULT 0,
    PRIMARY KEY (Iva)
);

-- ---------------------------------------------------------------- stock

CREATE TABLE ArticoliProg (
    Anno            INTEGER NOT NULL,
    Articolo        TEXT COLLATE NOCASE NOT NULL,
    Magazzino       TEXT COLLATE NOCASE NOT NULL,
    Livello1        TEXT COLLATE NOCASE NOT NULL DEFAULT '~ç~',
    Livello2        TEXT COLLATE NOCASE NOT NULL DEFAULT '~ç~',
    QtaIniziale     DOUBLE DEFAULT 0,
    QtaCarico       DOUBLE DEFAULT 0,
    QtaSCarico      DOUBLE DEFAULT 0,
    QtaOrdFor       DOUBLE DEFAULT 0,
    QtaImpCli       DOUBLE DEFAULT 0,
    PRIMARY KEY (Anno, Articolo, Magazzino, Livello1, Livello2)
);

CREATE TABLE Magazzini (
    Magazzino       TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    PRIMARY KEY (Magazzino)
);

-- ---------------------------------------------------------------- sales orders and quotes
-- Orders and quotes have identical columns, so one statement serves both pairs.

CREATE TABLE OrdVenTest (
    Anno            INTEGER NOT NULL,
    NumRif          INTEGER NOT NULL,
    DataRif         DATE,
    NumDoc          INTEGER,
    DataDoc         DATE,
    FattDocumento   TEXT COLLATE NOCASE,
    Tipo            TEXT COLLATE NOCASE,
    GruppoCli       TEXT COLLATE NOCASE,
    MastroCli       TEXT COLLATE NOCASE,
    ContoCli        TEXT COLLATE NOCASE,
    Agente1         TEXT COLLATE NOCASE,
    Agente2         TEXT COLLATE NOCASE,
    MagazzProv      TEXT COLLATE NOCASE,
    MagazzDest      TEXT COLLATE NOCASE,
    DataCons        DATE,
    Stato           TEXT COLLATE NOCASE,
    PRIMARY KEY (Anno, NumRif)
);
CREATE INDEX OrdVenTestCliente ON OrdVenTest (GruppoCli, MastroCli, ContoCli);

CREATE TABLE OrdVenDett (
    Anno            INTEGER NOT NULL,
    NumRif          INTEGER NOT NULL,
    RigDet          INTEGER NOT NULL,
    TipoRiga        TEXT COLLATE NOCASE,
    Articolo        TEXT COLLATE NOCASE,
    DescrRiga       TEXT COLLATE NOCASE,
    Um              TEXT COLLATE NOCASE,
    Qta             DOUBLE DEFAULT 0,
    QtaEvasa        DOUBLE DEFAULT 0,
    DataCons        DATE,
    StatoRiga       TEXT COLLATE NOCASE,
    PRIMARY KEY (Anno, NumRif, RigDet)
);
CREATE INDEX OrdVenDettArticolo ON OrdVenDett (Articolo);

CREATE TABLE PreVenTest (
    Anno            INTEGER NOT NULL,
    NumRif          INTEGER NOT NULL,
    DataRif         DATE,
    NumDoc          INTEGER,
    DataDoc         DATE,
    FattDocumento   TEXT COLLATE NOCASE,
    Tipo            TEXT COLLATE NOCASE,
    GruppoCli       TEXT COLLATE NOCASE,
    MastroCli       TEXT COLLATE NOCASE,
    ContoCli        TEXT COLLATE NOCASE,
    Agente1         TEXT COLLATE NOCASE,
    Agente2         TEXT COLLATE NOCASE,
    MagazzProv      TEXT COLLATE NOCASE,
    MagazzDest      TEXT COLLATE NOCASE,
    DataCons        DATE,
    Stato           TEXT COLLATE NOCASE,
    PRIMARY KEY (Anno, NumRif)
);
CREATE INDEX PreVenTestCliente ON PreVenTest (GruppoCli, MastroCli, ContoCli);

CREATE TABLE PreVenDett (
    Anno            INTEGER NOT NULL,
    NumRif          INTEGER NOT NULL,
    RigDet          INTEGER NOT NULL,
    TipoRiga        TEXT COLLATE NOCASE,
    Articolo        TEXT COLLATE NOCASE,
    DescrRiga       TEXT COLLATE NOCASE,
    Um              TEXT COLLATE NOCASE,
    Qta             DOUBLE DEFAULT 0,
    QtaEvasa        DOUBLE DEFAULT 0,
    DataCons        DATE,
    StatoRiga       TEXT COLLATE NOCASE,
    PRIMARY KEY (Anno, NumRif, RigDet)
);
CREATE INDEX PreVenDettArticolo ON PreVenDett (Articolo);

-- ---------------------------------------------------------------- chart of accounts

CREATE TABLE PianoConti (
    Gruppo          TEXT COLLATE NOCASE NOT NULL,
    Mastro          TEXT COLLATE NOCASE NOT NULL,
    Conto           TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    Zona            TEXT COLLATE NOCASE,
    Categoria       TEXT COLLATE NOCASE,
    PdcClasseAttr1  TEXT COLLATE NOCASE,
    PdcClasseAttr2  TEXT COLLATE NOCASE,
    PdcClasseAttr3  TEXT COLLATE NOCASE,
    PdcClasseAttr4  TEXT COLLATE NOCASE,
    PdcClasseAttr5  TEXT COLLATE NOCASE,
    Email           TEXT COLLATE NOCASE,
    Email2          TEXT COLLATE NOCASE,
    Email3          TEXT COLLATE NOCASE,
    Email4          TEXT COLLATE NOCASE,
    -- Kind of account: 3 customer (what the customer lookups list), 2 supplier, 1 any other.
    TipoConto       INTEGER,
    PRIMARY KEY (Gruppo, Mastro, Conto)
);

-- ---------------------------------------------------------------- suite tables

-- Shared scratch table: every row belongs to one user and one program. IdCampo is the
-- run's row counter for component rows and the ordered article code for the
-- "<program>_art" rows, so (Utente, IdProgramma, IdCampo) identifies a row.
CREATE TABLE AppoggioTemp (
    Utente          TEXT COLLATE NOCASE NOT NULL,
    IdProgramma     TEXT COLLATE NOCASE NOT NULL,
    IdCampo         TEXT COLLATE NOCASE NOT NULL,
    AppoInte0       INTEGER DEFAULT 0,
    AppoInte1       INTEGER DEFAULT 0,
    AppoStringa0    TEXT COLLATE NOCASE,
    AppoStringa1    TEXT COLLATE NOCASE,
    AppoStringa2    TEXT COLLATE NOCASE,
    ValoreStringa   TEXT COLLATE NOCASE,
    ValoreNumero    DOUBLE DEFAULT 0,
    AppoDouble0     DOUBLE DEFAULT 0,
    AppoDouble1     DOUBLE DEFAULT 0,
    PRIMARY KEY (Utente, IdProgramma, IdCampo)
);
CREATE INDEX AppoggioTempRiga ON AppoggioTemp
    (Utente, IdProgramma, AppoInte0, AppoStringa0, ValoreStringa, AppoStringa1);

CREATE TABLE Appoggio (
    Codice          TEXT COLLATE NOCASE NOT NULL,
    Descr           TEXT COLLATE NOCASE,
    Memo            TEXT COLLATE NOCASE,
    PRIMARY KEY (Codice)
);

CREATE TABLE Monete (
    Moneta          TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    NumDec          INTEGER DEFAULT 2,
    NumDecGest      INTEGER DEFAULT 2,
    Operatore       TEXT COLLATE NOCASE,
    Cee             TEXT COLLATE NOCASE,
    PRIMARY KEY (Moneta)
);

-- Menu entries (also the only table of the menu database).
CREATE TABLE MenuDett (
    Chiave          TEXT COLLATE NOCASE NOT NULL,
    ChiaveSec       TEXT COLLATE NOCASE NOT NULL,
    Caption         TEXT COLLATE NOCASE,
    DescPrg         TEXT COLLATE NOCASE,
    PRIMARY KEY (Chiave, ChiaveSec)
);

-- Stored texts of the e-mails the programs send (menu database): subject and text by number.
CREATE TABLE TestiEmail (
    Numero          INTEGER NOT NULL PRIMARY KEY,
    Oggetto         TEXT,
    Testo           TEXT
);

-- User-defined print fonts.
CREATE TABLE StaLasFontPers (
    Progressivo     INTEGER NOT NULL,
    Nome            TEXT COLLATE NOCASE,
    Size            DOUBLE DEFAULT 10,
    Bold            BOOLEAN DEFAULT 0,
    Italic          BOOLEAN DEFAULT 0,
    Strike          BOOLEAN DEFAULT 0,
    Underline       BOOLEAN DEFAULT 0,
    PRIMARY KEY (Progressivo)
);

-- ---------------------------------------------------------------- decode tables

CREATE TABLE TabUM (
    UM              TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    PRIMARY KEY (UM)
);

-- Document types (FattDocumento of orders and quotes).
CREATE TABLE TabTipiDoc (
    TipoDoc         TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    -- "O" a type of sales order, "P" a type of quote.
    Tipo            TEXT COLLATE NOCASE,
    PRIMARY KEY (TipoDoc)
);

CREATE TABLE Agenti (
    Agente          TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    PRIMARY KEY (Agente)
);

CREATE TABLE TabGruppi (
    Gruppo          TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    PRIMARY KEY (Gruppo)
);

-- Article subgroups are selected on their own, independent of the group.
CREATE TABLE TabSottoGruppi (
    SottoGruppo     TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    PRIMARY KEY (SottoGruppo)
);

-- Customer categories and zones (PianoConti.Categoria, PianoConti.Zona).
CREATE TABLE TabCategorie (
    Categoria       TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    PRIMARY KEY (Categoria)
);

CREATE TABLE TabZone (
    Zona            TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    PRIMARY KEY (Zona)
);

-- Class and attribute codes by level 1 to 5: ArtClasseAttr1..5 of Articoli and
-- PdcClasseAttr1..5 of PianoConti.
CREATE TABLE TabClassiArt (
    Livello         INTEGER NOT NULL,
    ClasseAttr      TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    PRIMARY KEY (Livello, ClasseAttr)
);

CREATE TABLE TabClassiPdc (
    Livello         INTEGER NOT NULL,
    ClasseAttr      TEXT COLLATE NOCASE NOT NULL,
    Descrizione     TEXT COLLATE NOCASE,
    PRIMARY KEY (Livello, ClasseAttr)
);
