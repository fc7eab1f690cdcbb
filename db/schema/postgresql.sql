-- The database objects the report plug-in reads, in PostgreSQL's dialect:
-- the same tables, columns and view as sqlite.sql, with types chosen so that
-- the report queries give the same results on both engines.
--
-- Codes and flags are text, so the reports' quoted comparisons
-- (deptclass='1', pid<>'') work as written; the year and the level are
-- integers, compared unquoted (datayear=2024); amounts are double precision,
-- the same IEEE doubles SQLite's REAL holds, so sums and the reports'
-- "/10000" give the same figures. Every text column sorts by the C collation,
-- byte by byte as SQLite's BINARY does, whatever the database's own locale;
-- with it a plain index also serves "eid like '<prefix>%'".
--
-- The demo generator runs the part above the line "-- After loading" before
-- it loads the data and the rest afterwards: building the indexes and
-- checking the foreign keys in one pass each is much faster than row by row.
-- Run whole (psql -f), the file makes the same empty database.

-- Departments and budget units. eid is made of three-character segments,
-- one per level; peid is eid less its last segment (empty at the top);
-- class is the level (length/3 - 1); leafflag '1' marks a unit without
-- sub-units. A code ending in 001 under a group is that group's own-level
-- unit.
CREATE TABLE pubdept (
    eid            TEXT COLLATE "C" NOT NULL PRIMARY KEY,
    peid           TEXT COLLATE "C" NOT NULL DEFAULT '',
    ename          TEXT COLLATE "C" NOT NULL,
    leafflag       TEXT COLLATE "C" NOT NULL DEFAULT '1' CHECK (leafflag IN ('0', '1')),
    class          INTEGER NOT NULL,
    deptclass      TEXT COLLATE "C" NOT NULL DEFAULT '1',
    replaceflag    TEXT COLLATE "C" NOT NULL DEFAULT '0',
    useflag        TEXT COLLATE "C" NOT NULL DEFAULT '0',
    specialaccount TEXT COLLATE "C" NOT NULL DEFAULT '否' CHECK (specialaccount IN ('是', '否'))
);

-- Fund natures.
CREATE TABLE pubmoneykind (
    mid      TEXT COLLATE "C" NOT NULL PRIMARY KEY,
    mname    TEXT COLLATE "C" NOT NULL,
    leafflag TEXT COLLATE "C" NOT NULL DEFAULT '0' CHECK (leafflag IN ('0', '1'))
);

-- Budget subjects of the functional classification: seven-digit codes,
-- class (digits 1-3), section (4-5), item (6-7).
CREATE TABLE pubbudgetsubject (
    bid   TEXT COLLATE "C" NOT NULL PRIMARY KEY CHECK (length(bid) = 7),
    bname TEXT COLLATE "C" NOT NULL
);

-- Budget indicators: one approved line of money for a unit.
CREATE TABLE busiindicator (
    iid   TEXT COLLATE "C" NOT NULL PRIMARY KEY,
    iname TEXT COLLATE "C" NOT NULL,
    eid   TEXT COLLATE "C" NOT NULL,
    mid   TEXT COLLATE "C" NOT NULL,
    bid   TEXT COLLATE "C" NOT NULL,
    ipid  TEXT COLLATE "C" NOT NULL
);

-- Budget adjustments: one row per adjustment of an indicator, amount in
-- yuan (negative for a reduction). pid is empty for adjustments not yet
-- given a payment channel; the reports leave those out. Unquoted names fold
-- to lower case, so BType and BudgMoney are btype and budgmoney here and
-- the reports' spelling finds them.
CREATE TABLE busibudgetadj (
    adjid      BIGINT  NOT NULL PRIMARY KEY,
    datayear   INTEGER NOT NULL,
    eid        TEXT COLLATE "C" NOT NULL,
    deptclass  TEXT COLLATE "C" NOT NULL,
    mid        TEXT COLLATE "C" NOT NULL,
    bid        TEXT COLLATE "C" NOT NULL,
    iid        TEXT COLLATE "C" NOT NULL,
    ipid       TEXT COLLATE "C" NOT NULL,
    pid        TEXT COLLATE "C" NOT NULL DEFAULT '',
    BType      TEXT COLLATE "C" NOT NULL CHECK (BType IN ('0', '1', '2')),
    bkid       TEXT COLLATE "C" NOT NULL DEFAULT '',
    btypechild TEXT COLLATE "C" NOT NULL DEFAULT '',
    BudgMoney  DOUBLE PRECISION NOT NULL
);

-- After loading

CREATE INDEX ix_pubdept_peid ON pubdept (peid);
-- Every report query filters by year, indicator type, fund nature and unit
-- prefix and reads only these columns: with all of them in the index the
-- queries can be answered from the index alone.
CREATE INDEX ix_busibudgetadj_report ON busibudgetadj
    (datayear, BType, mid, eid, deptclass, pid, bkid, btypechild, ipid, bid, iid, BudgMoney);
CREATE INDEX ix_busibudgetadj_iid ON busibudgetadj (iid);

ALTER TABLE busiindicator
    ADD FOREIGN KEY (eid) REFERENCES pubdept (eid),
    ADD FOREIGN KEY (mid) REFERENCES pubmoneykind (mid),
    ADD FOREIGN KEY (bid) REFERENCES pubbudgetsubject (bid);
ALTER TABLE busibudgetadj
    ADD FOREIGN KEY (eid) REFERENCES pubdept (eid),
    ADD FOREIGN KEY (mid) REFERENCES pubmoneykind (mid),
    ADD FOREIGN KEY (bid) REFERENCES pubbudgetsubject (bid),
    ADD FOREIGN KEY (iid) REFERENCES busiindicator (iid);

-- What the report queries read: every adjustment with the names of its
-- unit, fund nature, subject and indicator. Outer joins keep an adjustment
-- whose code has no name row instead of silently dropping its amount.
CREATE VIEW vwbudgetadj AS
SELECT a.adjid, a.datayear, a.eid, d.ename, a.deptclass, a.mid, m.mname, a.bid, s.bname,
       a.iid, i.iname, a.ipid, a.pid, a.BType, a.bkid, a.btypechild, a.BudgMoney
FROM busibudgetadj a
LEFT JOIN pubdept d ON d.eid = a.eid
LEFT JOIN pubmoneykind m ON m.mid = a.mid
LEFT JOIN pubbudgetsubject s ON s.bid = a.bid
LEFT JOIN busiindicator i ON i.iid = a.iid;
