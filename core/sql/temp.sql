-- Scratch tables of a connection.
-- Created every time the connection opens, so that each workstation
-- works on rows of its own. Text columns accept NULL because several
-- of them are filled from outer joins.

-- pick list of wage items (new wage table) and used processes (process assistant)
CREATE TEMP TABLE IF NOT EXISTS tempWageItem (
    F_ID    INTEGER PRIMARY KEY AUTOINCREMENT,
    F_Check INTEGER NOT NULL DEFAULT 0,
    F_Code  TEXT COLLATE NOCASE DEFAULT '',
    F_Name  TEXT COLLATE NOCASE DEFAULT ''
);

-- cash denominations of each employee's net pay
CREATE TEMP TABLE IF NOT EXISTS tempWagePutOut (
    F_ID     INTEGER PRIMARY KEY AUTOINCREMENT,
    F_Code   TEXT COLLATE NOCASE DEFAULT '',
    F_Name   TEXT COLLATE NOCASE DEFAULT '',
    F_dept   TEXT COLLATE NOCASE DEFAULT '',
    F_Price  REAL NOT NULL DEFAULT 0,
    F_yibai  INTEGER NOT NULL DEFAULT 0,
    F_wushi  INTEGER NOT NULL DEFAULT 0,
    F_ershi  INTEGER NOT NULL DEFAULT 0,
    F_yishi  INTEGER NOT NULL DEFAULT 0,
    F_wuyuan INTEGER NOT NULL DEFAULT 0,
    F_eryuan INTEGER NOT NULL DEFAULT 0,
    F_yiyuan INTEGER NOT NULL DEFAULT 0,
    F_wujiao INTEGER NOT NULL DEFAULT 0,
    F_erjiao INTEGER NOT NULL DEFAULT 0,
    F_yijiao INTEGER NOT NULL DEFAULT 0,
    F_wufen  INTEGER NOT NULL DEFAULT 0,
    F_erfen  INTEGER NOT NULL DEFAULT 0,
    F_yifen  INTEGER NOT NULL DEFAULT 0
);

-- piece-rate and time-rate totals
CREATE TEMP TABLE IF NOT EXISTS tempShengchanRec (
    F_ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    F_datetime      TEXT NOT NULL DEFAULT '1900-08-14',
    F_shengchanCode TEXT COLLATE NOCASE DEFAULT '',
    F_empCode       TEXT COLLATE NOCASE DEFAULT '',
    F_empName       TEXT COLLATE NOCASE DEFAULT '',
    F_dept          TEXT COLLATE NOCASE DEFAULT '',
    F_goodName      TEXT COLLATE NOCASE DEFAULT '',
    F_gxcode        TEXT COLLATE NOCASE DEFAULT '',
    F_Name          TEXT COLLATE NOCASE DEFAULT '',
    F_GZtype        TEXT COLLATE NOCASE DEFAULT '',
    F_JSunit        TEXT COLLATE NOCASE DEFAULT '',
    F_Amount        REAL NOT NULL DEFAULT 0,
    F_Price         REAL NOT NULL DEFAULT 0,
    F_totalprice    REAL NOT NULL DEFAULT 0,
    F_mem           TEXT COLLATE NOCASE DEFAULT '',
    F_flag          INTEGER NOT NULL DEFAULT 0
);

-- annual wage reports: one wage item month by month
CREATE TEMP TABLE IF NOT EXISTS tempGZNB (
    F_ID      INTEGER PRIMARY KEY AUTOINCREMENT,
    F_code    TEXT COLLATE NOCASE DEFAULT '',
    F_name    TEXT COLLATE NOCASE DEFAULT '',
    F_dept    TEXT COLLATE NOCASE DEFAULT '',
    F_m1      REAL NOT NULL DEFAULT 0,
    F_m2      REAL NOT NULL DEFAULT 0,
    F_m3      REAL NOT NULL DEFAULT 0,
    F_m4      REAL NOT NULL DEFAULT 0,
    F_m5      REAL NOT NULL DEFAULT 0,
    F_m6      REAL NOT NULL DEFAULT 0,
    F_m7      REAL NOT NULL DEFAULT 0,
    F_m8      REAL NOT NULL DEFAULT 0,
    F_m9      REAL NOT NULL DEFAULT 0,
    F_m10     REAL NOT NULL DEFAULT 0,
    F_m11     REAL NOT NULL DEFAULT 0,
    F_m12     REAL NOT NULL DEFAULT 0,
    F_HJprice REAL NOT NULL DEFAULT 0,
    F_flag    INTEGER NOT NULL DEFAULT 0
);

-- wage calculation totals per employee, department and bank account
CREATE TEMP TABLE IF NOT EXISTS tempGZHS (
    F_ID      INTEGER PRIMARY KEY AUTOINCREMENT,
    F_code    TEXT COLLATE NOCASE DEFAULT '',
    F_name    TEXT COLLATE NOCASE DEFAULT '',
    F_dept    TEXT COLLATE NOCASE DEFAULT '',
    F_bank    TEXT COLLATE NOCASE DEFAULT '',
    F_yfPrice REAL NOT NULL DEFAULT 0,
    F_sfPrice REAL NOT NULL DEFAULT 0,
    F_wfPrice REAL NOT NULL DEFAULT 0
);

-- daily settlement of piece-rate and time-rate money
CREATE TEMP TABLE IF NOT EXISTS tempRiJie (
    F_ID        INTEGER PRIMARY KEY AUTOINCREMENT,
    F_code      TEXT COLLATE NOCASE DEFAULT '',
    F_name      TEXT COLLATE NOCASE DEFAULT '',
    F_dept      TEXT COLLATE NOCASE DEFAULT '',
    F_JJprice   REAL NOT NULL DEFAULT 0,
    F_JSprice   REAL NOT NULL DEFAULT 0,
    F_HJprice   REAL NOT NULL DEFAULT 0,
    F_LJprice   REAL NOT NULL DEFAULT 0,
    F_LJjjPrice REAL NOT NULL DEFAULT 0,
    F_LJjsPrice REAL NOT NULL DEFAULT 0,
    F_flag      INTEGER NOT NULL DEFAULT 0
);
