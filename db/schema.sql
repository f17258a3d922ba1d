-- Reference schema of the tables and columns the download generator reads.
-- Table names are spelled in mixed case by the statements, so the server must
-- run with lower_case_table_names=1. Texts are Windows-1252 (latin1).

CREATE DATABASE IF NOT EXISTS Orvadat CHARACTER SET latin1;
USE Orvadat;

-- Badges (ID cards) with validity, booking class, display set and language.
CREATE TABLE Orv301Asw (
  AswNum VARCHAR(64) NOT NULL,  -- badge number
  AswGvo DATE NULL,             -- first day of validity
  AswGbi DATE NULL,             -- last day of validity
  AswPnr VARCHAR(64) NULL,      -- personnel number
  AswBkl VARCHAR(10) NULL,      -- booking class
  AswBk2 VARCHAR(10) NULL,      -- second booking class, used when AswBkl is empty
  AswGrp VARCHAR(8) NULL,       -- group
  AswAan VARCHAR(10) NULL,      -- not read by the generator
  AswAtp INT NULL,              -- badge type
  AswSal VARCHAR(16) NULL,      -- the badge's own display set
  AswSpr INT NULL,              -- language number
  AswPin VARCHAR(40) NULL,      -- PIN
  AswLiz INT NULL,              -- licence
  AswMnd INT NULL,              -- client
  AswSta SMALLINT NULL,         -- status; 4 and 8 mean deleted
  PRIMARY KEY (AswNum),
  KEY Asw_Client (AswLiz, AswMnd),
  KEY Asw_Validity (AswGvo, AswGbi)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

-- Badge to location links; one badge may have several rows.
CREATE TABLE Orv113Awv (
  AwvId INT NOT NULL AUTO_INCREMENT,
  AwvNum VARCHAR(64) NOT NULL,  -- badge number
  AwvSto INT NULL,              -- location number
  AwvCod SMALLINT NULL,         -- code; 8 excludes the row
  AwvSta SMALLINT NULL,         -- status
  PRIMARY KEY (AwvId),
  KEY Awv_Badge (AwvNum),
  KEY Awv_Location (AwvSto)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

-- Locations.
CREATE TABLE Orv113Sto (
  StoNum INT NOT NULL,          -- location number
  StoKtx VARCHAR(20) NULL,      -- short text
  StoSta SMALLINT NULL,
  PRIMARY KEY (StoNum)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

-- Terminal to licence/client assignments.
CREATE TABLE Orv115Tfz (
  TfzId INT NOT NULL AUTO_INCREMENT,
  TfzTrm VARCHAR(255) NOT NULL, -- terminal name
  TfzLiz INT NULL,
  TfzMnd INT NULL,
  TfzSta SMALLINT NULL,
  PRIMARY KEY (TfzId),
  KEY Tfz_Terminal (TfzTrm, TfzLiz, TfzMnd)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

-- Terminals.
CREATE TABLE Orv1140Trm (
  TrmNam VARCHAR(255) NOT NULL, -- terminal name
  TRMMOD VARCHAR(16) NULL,      -- model, e.g. 7744-010
  TRMSAL VARCHAR(16) NULL,      -- display set
  TrmSpr INT NULL,              -- language number
  TrmLiz INT NULL,
  TrmMnd INT NULL,
  TrmSta SMALLINT NULL,
  PRIMARY KEY (TrmNam),
  KEY Trm_DisplaySet (TRMSAL)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

-- Booking classes per terminal and reader: M35BCH '1' grants time booking,
-- '0' access.
CREATE TABLE MGSST35P (
  M35Id INT NOT NULL AUTO_INCREMENT,
  M35TRM VARCHAR(255) NOT NULL, -- terminal name
  M35BKL VARCHAR(10) NULL,      -- booking class
  M35LES VARCHAR(8) NULL,       -- reader
  M35BCH CHAR(1) NULL,
  PRIMARY KEY (M35Id),
  KEY M35_TerminalClass (M35TRM, M35BCH, M35BKL)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

-- Booking classes of a badge, with priority.
CREATE TABLE Orv301Awb (
  AwbId INT NOT NULL AUTO_INCREMENT,
  AWBASW VARCHAR(64) NOT NULL,  -- badge number
  AWBBKL VARCHAR(10) NULL,      -- booking class
  AWBZUV INT NULL,              -- priority
  PRIMARY KEY (AwbId),
  KEY Awb_Badge (AWBASW, AWBBKL)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

-- Readers of a terminal.
CREATE TABLE Orv401Zls (
  ZlsId INT NOT NULL AUTO_INCREMENT,
  ZlsTrm VARCHAR(255) NOT NULL, -- terminal name
  ZlsLes INT NULL,              -- reader number
  ZlsZko VARCHAR(20) NULL,      -- not read by the generator
  ZlsSta SMALLINT NULL,
  PRIMARY KEY (ZlsId),
  KEY Zls_TerminalReader (ZlsTrm, ZlsLes)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

-- Time accounts per badge: TswW02..TswW16 hold a sign character followed by
-- the value, TswF01..TswF10 free texts.
CREATE TABLE O2002TSW (
  TSWIDN VARCHAR(64) NOT NULL,  -- badge number
  TswW01 VARCHAR(12) NULL,
  TswW02 VARCHAR(12) NULL, TswW03 VARCHAR(12) NULL, TswW04 VARCHAR(12) NULL,
  TswW05 VARCHAR(12) NULL, TswW06 VARCHAR(12) NULL, TswW07 VARCHAR(12) NULL,
  TswW08 VARCHAR(12) NULL, TswW09 VARCHAR(12) NULL, TswW10 VARCHAR(12) NULL,
  TswW11 VARCHAR(12) NULL, TswW12 VARCHAR(12) NULL, TswW13 VARCHAR(12) NULL,
  TswW14 VARCHAR(12) NULL, TswW15 VARCHAR(12) NULL, TswW16 VARCHAR(12) NULL,
  TswF01 VARCHAR(40) NULL, TswF02 VARCHAR(40) NULL, TswF03 VARCHAR(40) NULL,
  TswF04 VARCHAR(40) NULL, TswF05 VARCHAR(40) NULL, TswF06 VARCHAR(40) NULL,
  TswF07 VARCHAR(40) NULL, TswF08 VARCHAR(40) NULL, TswF09 VARCHAR(40) NULL,
  TswF10 VARCHAR(40) NULL,
  PRIMARY KEY (TSWIDN)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

-- Display-text definitions of a display set.
CREATE TABLE Orv119Msd (
  MsdId INT NOT NULL AUTO_INCREMENT,
  MsdSal VARCHAR(16) NOT NULL,  -- display set
  MsdLfd INT NULL,              -- sequence number, slots 1 to 8
  MsdSpl INT NULL,              -- column indicator; 2 shifts labels of slots 5 to 8
  MsdTxt VARCHAR(40) NULL,      -- own label text
  MsdAnz INT NULL,              -- label choice in list 220001
  MsdWrt INT NULL,              -- value choice in list 220002
  MsdMnd INT NULL,
  MsdLiz INT NULL,
  MSDERF VARCHAR(20) NULL,      -- creator; 'KORVALD' marks standard definitions
  MsdSta SMALLINT NULL,
  PRIMARY KEY (MsdId),
  KEY Msd_SetNumber (MsdSal, MsdLfd)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;

-- Choice-list texts per language.
CREATE TABLE Orv102Whl (
  FtxNumSpr INT NOT NULL,       -- choice list
  FtxWhl INT NOT NULL,          -- choice number
  FtxSpr INT NOT NULL,          -- language number
  FtxT50 VARCHAR(50) NULL,      -- long text (labels)
  FTXT10 VARCHAR(20) NULL,      -- short text (value codes)
  PRIMARY KEY (FtxNumSpr, FtxWhl, FtxSpr)
) ENGINE=InnoDB DEFAULT CHARSET=latin1;
