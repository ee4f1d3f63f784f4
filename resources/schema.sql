-- The Tallybridge database: every table with its fixed and reserved rows and
-- the indexes the lists need. Run once by tallybridge-newdb on a new file.
--
-- Conventions: counters are INTEGER PRIMARY KEY AUTOINCREMENT, so a deleted
-- document's number is never handed out again; text compares without regard to
-- ASCII case (COLLATE NOCASE); date-times are text "YYYY-MM-DD HH:MM:SS";
-- document dates picked by the user are DATE columns, stored at midnight so that
-- "= #day#" finds them, while record times (DATETIME) keep their time of day;
-- amounts are REAL, signed (purchases and payments negative).
-- Row 1 of Customer, CustomerHide, Bill, MoneyTable, Account and Contact is
-- reserved: the lists select index > 1 only.

CREATE TABLE Power (
    PowerIndex      INTEGER PRIMARY KEY,
    PowerName       TEXT(50)  COLLATE NOCASE DEFAULT '',
    PowerKey        TEXT(50)  COLLATE NOCASE DEFAULT '',
    PowerPicture    TEXT(255) COLLATE NOCASE DEFAULT '',
    PowerRange      TEXT(255) COLLATE NOCASE DEFAULT '',
    PowerRole       TEXT(50)  COLLATE NOCASE DEFAULT ''
);

CREATE TABLE Customer (
    CustomerIndex     INTEGER PRIMARY KEY AUTOINCREMENT,
    CustomerName      TEXT(100) COLLATE NOCASE DEFAULT '',
    CustomerOwe       REAL DEFAULT 0,
    CustomerPhone     TEXT(50)  COLLATE NOCASE DEFAULT '',
    CustomerFax       TEXT(50)  COLLATE NOCASE DEFAULT '',
    CustomerContact   TEXT(50)  COLLATE NOCASE DEFAULT '',
    CustomerHandPhone TEXT(50)  COLLATE NOCASE DEFAULT '',
    CustomerEMail     TEXT(100) COLLATE NOCASE DEFAULT '',
    CustomerWebsite   TEXT(100) COLLATE NOCASE DEFAULT '',
    CustomerAddress   TEXT(255) COLLATE NOCASE DEFAULT '',
    CustomerRemark    TEXT(255) COLLATE NOCASE DEFAULT '',
    CustomerMan       TEXT(50)  COLLATE NOCASE DEFAULT ''
);

CREATE TABLE CustomerHide (
    CustomerIndex     INTEGER PRIMARY KEY AUTOINCREMENT,
    CustomerName      TEXT(100) COLLATE NOCASE DEFAULT '',
    CustomerOwe       REAL DEFAULT 0,
    CustomerPhone     TEXT(50)  COLLATE NOCASE DEFAULT '',
    CustomerFax       TEXT(50)  COLLATE NOCASE DEFAULT '',
    CustomerContact   TEXT(50)  COLLATE NOCASE DEFAULT '',
    CustomerHandPhone TEXT(50)  COLLATE NOCASE DEFAULT '',
    CustomerEMail     TEXT(100) COLLATE NOCASE DEFAULT '',
    CustomerWebsite   TEXT(100) COLLATE NOCASE DEFAULT '',
    CustomerAddress   TEXT(255) COLLATE NOCASE DEFAULT '',
    CustomerRemark    TEXT(255) COLLATE NOCASE DEFAULT '',
    CustomerMan       TEXT(50)  COLLATE NOCASE DEFAULT ''
);

CREATE TABLE Bill (
    BillIndex       INTEGER PRIMARY KEY AUTOINCREMENT,
    BillKind        TEXT(20)  COLLATE NOCASE DEFAULT '',
    BillRecordTime  DATETIME,
    BillCreateTime  DATE,
    BillSerial      TEXT(50)  COLLATE NOCASE DEFAULT '',
    BillUser        TEXT(100) COLLATE NOCASE DEFAULT '',
    BillSum         REAL DEFAULT 0,
    BillReason      TEXT(50)  COLLATE NOCASE DEFAULT '',
    BillState       TEXT(50)  COLLATE NOCASE DEFAULT '',
    BillRemark      TEXT(255) COLLATE NOCASE DEFAULT '',
    BillMan         TEXT(50)  COLLATE NOCASE DEFAULT ''
);

CREATE TABLE MoneyTable (
    MoneyIndex      INTEGER PRIMARY KEY AUTOINCREMENT,
    MoneyAccount    INTEGER DEFAULT 0,
    MoneyBill       INTEGER DEFAULT 0,
    MoneyRecordTime DATETIME,
    MoneyCreateTime DATE,
    MoneyUser       TEXT(100) COLLATE NOCASE DEFAULT '',
    MoneyReason     TEXT(50)  COLLATE NOCASE DEFAULT '',
    MoneyIn         REAL DEFAULT 0,
    MoneyOut        REAL DEFAULT 0,
    MoneySum        REAL DEFAULT 0,
    MoneyType       TEXT(50)  COLLATE NOCASE DEFAULT '',
    MoneyToken      TEXT(50)  COLLATE NOCASE DEFAULT '',
    MoneyRemark     TEXT(255) COLLATE NOCASE DEFAULT '',
    MoneySerial     TEXT(50)  COLLATE NOCASE DEFAULT '',
    MoneyMan        TEXT(50)  COLLATE NOCASE DEFAULT ''
);

CREATE TABLE Account (
    AccountIndex    INTEGER PRIMARY KEY AUTOINCREMENT,
    AccountName     TEXT(100) COLLATE NOCASE DEFAULT '',
    AccountBase     REAL DEFAULT 0,
    AccountMan      TEXT(50)  COLLATE NOCASE DEFAULT ''
);

CREATE TABLE Contact (
    ContactIndex      INTEGER PRIMARY KEY AUTOINCREMENT,
    ContactUser       INTEGER DEFAULT 0,
    ContactRecordTime DATETIME,
    ContactCreateTime DATE,
    ContactHead       TEXT(255) COLLATE NOCASE DEFAULT '',
    ContactContent    LONGTEXT  COLLATE NOCASE DEFAULT ''
);

CREATE TABLE Parameter (
    ParameterType   INTEGER DEFAULT 0,
    ParameterValue  TEXT(50) COLLATE NOCASE DEFAULT ''
);

CREATE TABLE Setting (
    SettingIndex    INTEGER PRIMARY KEY,
    SettingValue    TEXT(50) COLLATE NOCASE DEFAULT ''
);

CREATE TABLE PrintReport (
    ReportEnable    BOOLEAN DEFAULT 0,
    ReportGrid1     TEXT(255) COLLATE NOCASE DEFAULT '',
    ReportGrid2     TEXT(255) COLLATE NOCASE DEFAULT '',
    ReportGrid3     TEXT(255) COLLATE NOCASE DEFAULT '',
    ReportGrid4     TEXT(255) COLLATE NOCASE DEFAULT '',
    ReportGrid5     TEXT(255) COLLATE NOCASE DEFAULT '',
    ReportGrid6     TEXT(255) COLLATE NOCASE DEFAULT '',
    ReportGrid7     TEXT(255) COLLATE NOCASE DEFAULT '',
    ReportGrid8     TEXT(255) COLLATE NOCASE DEFAULT '',
    ReportGrid9     TEXT(255) COLLATE NOCASE DEFAULT ''
);

CREATE TABLE PrintList (
    ListIndex       INTEGER DEFAULT 0,
    ListValue       TEXT(255) COLLATE NOCASE DEFAULT ''
);

CREATE TABLE PrintBigFont (
    BigFontValue    TEXT(255) COLLATE NOCASE DEFAULT ''
);

-- Links between documents, customers and accounts, and the columns lists filter on.
CREATE INDEX PowerName_Index ON Power (PowerName);
CREATE INDEX CustomerName_Index ON Customer (CustomerName);
CREATE INDEX CustomerMan_Index ON Customer (CustomerMan);
CREATE INDEX CustomerHideName_Index ON CustomerHide (CustomerName);
CREATE INDEX BillUser_Index ON Bill (BillUser);
CREATE INDEX BillCreateTime_Index ON Bill (BillCreateTime);
CREATE INDEX BillMan_Index ON Bill (BillMan);
CREATE INDEX MoneyBill_Index ON MoneyTable (MoneyBill);
CREATE INDEX MoneyAccount_Index ON MoneyTable (MoneyAccount);
CREATE INDEX MoneyUser_Index ON MoneyTable (MoneyUser);
CREATE INDEX MoneyCreateTime_Index ON MoneyTable (MoneyCreateTime);
CREATE INDEX MoneyMan_Index ON MoneyTable (MoneyMan);
-- Account balances up to a day are read from this index alone, without the rows.
CREATE INDEX MoneyAccountSum_Index ON MoneyTable (MoneyAccount, MoneyCreateTime, MoneySum);
CREATE INDEX AccountName_Index ON Account (AccountName);
CREATE INDEX ContactUser_Index ON Contact (ContactUser);
CREATE INDEX ParameterType_Index ON Parameter (ParameterType);

-- Sixteen salesman slots, unused until the administrator names them.
INSERT INTO Power (PowerIndex, PowerName, PowerKey, PowerPicture, PowerRange, PowerRole) VALUES
    (1, '', '', 'Faces/1.bmp', '', '业务员'),
    (2, '', '', 'Faces/1.bmp', '', '业务员'),
    (3, '', '', 'Faces/1.bmp', '', '业务员'),
    (4, '', '', 'Faces/1.bmp', '', '业务员'),
    (5, '', '', 'Faces/1.bmp', '', '业务员'),
    (6, '', '', 'Faces/1.bmp', '', '业务员'),
    (7, '', '', 'Faces/1.bmp', '', '业务员'),
    (8, '', '', 'Faces/1.bmp', '', '业务员'),
    (9, '', '', 'Faces/1.bmp', '', '业务员'),
    (10, '', '', 'Faces/1.bmp', '', '业务员'),
    (11, '', '', 'Faces/1.bmp', '', '业务员'),
    (12, '', '', 'Faces/1.bmp', '', '业务员'),
    (13, '', '', 'Faces/1.bmp', '', '业务员'),
    (14, '', '', 'Faces/1.bmp', '', '业务员'),
    (15, '', '', 'Faces/1.bmp', '', '业务员'),
    (16, '', '', 'Faces/1.bmp', '', '业务员');

-- The four roles and the data-edit password row; no passwords at first.
INSERT INTO Power (PowerIndex, PowerName, PowerKey, PowerPicture, PowerRange, PowerRole) VALUES
    (17, '财务主管', '', '', '', ''),
    (18, '财务总监', '', '', '', ''),
    (19, '管理员', '', '', '', ''),
    (20, '总经理', '', '', '', ''),
    (21, '修改', '', '', '', '');

-- Last document numbers: sales, purchases, receipts, payments. The next number
-- counts on from the first non-zero digit, so the first documents are XS1001, ...
INSERT INTO Setting (SettingIndex, SettingValue) VALUES
    (1, 'XS1000'),
    (2, 'CG1000'),
    (3, 'SK1000'),
    (4, 'FK1000');

INSERT INTO PrintList (ListIndex, ListValue) VALUES (1, ''), (2, '');
INSERT INTO PrintBigFont (BigFontValue) VALUES ('');

-- Choice lists a small trading firm starts with; the administrator edits them.
INSERT INTO Parameter (ParameterType, ParameterValue) VALUES
    (1, '商品销售'), (1, '商品采购'), (1, '服务收入'), (1, '其他业务'),
    (2, '货款'), (2, '预收款'), (2, '预付款'), (2, '费用'), (2, '其他'),
    (3, '现金'), (3, '银行转账'), (3, '支票'), (3, '承兑汇票'),
    (4, '洽谈中'), (4, '已签约'), (4, '已发货'), (4, '已完成');

-- Reserved rows: empty texts, zero amounts, no dates.
INSERT INTO Customer (CustomerIndex) VALUES (1);
INSERT INTO CustomerHide (CustomerIndex) VALUES (1);
INSERT INTO Bill (BillIndex) VALUES (1);
INSERT INTO MoneyTable (MoneyIndex) VALUES (1);
INSERT INTO Account (AccountIndex) VALUES (1);
INSERT INTO Contact (ContactIndex) VALUES (1);
