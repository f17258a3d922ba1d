-- Synthetic installation for benchmarks: @BADGES@ badges, deterministic from
-- the seed @SEED@ (every "random" choice is a CRC32 of the seed and a row
-- number). Run after db/schema.sql:
--   sed -e 's/@BADGES@/20000/g' -e 's/@SEED@/1/g' db/generate.sql | mariadb
-- Shape: three clients, 40 terminals of three models (every fourth one
-- assigned to one or two clients, so each model has terminals with and
-- without assignments), 8 to 16 readers per terminal, 30 access booking
-- classes, 1 to 4 booking classes per badge, time accounts for most badges,
-- 50 locations, three terminal display sets and twenty badge display sets
-- with eight definitions each, about 4 % of badges invalid today (validity
-- ended or deleted) and about 3 % with a second location row.
USE Orvadat;

SET @seed = '@SEED@';

-- Terminals TRM-001 .. TRM-040.
INSERT INTO Orv1140Trm (TrmNam, TRMMOD, TRMSAL, TrmSpr, TrmLiz, TrmMnd, TrmSta)
SELECT CONCAT('TRM-', LPAD(seq, 3, '0')),
       ELT(1 + seq % 3, '7744-010', '7598-002', '7700-001'),
       CONCAT('SET', 1 + seq % 3), 1, 1, 1 + seq % 3, NULL
FROM seq_1_to_40;

-- Every fourth terminal serves one or two clients only.
INSERT INTO Orv115Tfz (TfzTrm, TfzLiz, TfzMnd, TfzSta)
SELECT CONCAT('TRM-', LPAD(t.seq, 3, '0')), 1, 1 + (t.seq + c.seq) % 3, NULL
FROM seq_1_to_40 t JOIN seq_1_to_2 c
WHERE t.seq % 4 = 0 AND (c.seq = 1 OR CRC32(CONCAT(@seed, '-tfz-', t.seq)) % 2 = 0);

-- 8 to 16 readers per terminal; a few switched off.
INSERT INTO Orv401Zls (ZlsTrm, ZlsLes, ZlsZko, ZlsSta)
SELECT CONCAT('TRM-', LPAD(t.seq, 3, '0')), r.seq, CONCAT('Leser ', r.seq),
       IF(CRC32(CONCAT(@seed, '-zls-', t.seq, '-', r.seq)) % 20 = 0, 8, NULL)
FROM seq_1_to_40 t JOIN seq_1_to_16 r
WHERE r.seq <= 8 + CRC32(CONCAT(@seed, '-readers-', t.seq)) % 9;

-- Time booking class T on every terminal; each access class C00..C29 on
-- about a third of the terminals, on one or two readers.
INSERT INTO MGSST35P (M35TRM, M35BKL, M35LES, M35BCH)
SELECT CONCAT('TRM-', LPAD(seq, 3, '0')), 'T', '01', '1' FROM seq_1_to_40;
INSERT INTO MGSST35P (M35TRM, M35BKL, M35LES, M35BCH)
SELECT CONCAT('TRM-', LPAD(t.seq, 3, '0')), CONCAT('C', LPAD(c.seq, 2, '0')),
       LPAD(1 + (CRC32(CONCAT(@seed, '-les-', t.seq, '-', c.seq, '-', r.seq)) % 8), 2, '0'),
       '0'
FROM seq_1_to_40 t JOIN seq_0_to_29 c JOIN seq_1_to_2 r
WHERE CRC32(CONCAT(@seed, '-m35-', t.seq, '-', c.seq)) % 3 = 0
  AND (r.seq = 1 OR CRC32(CONCAT(@seed, '-m35r-', t.seq, '-', c.seq)) % 2 = 0);

-- Badges: about 3 % invalid today (validity ended yesterday), about 1 %
-- deleted; about 2 % with a display set of their own.
INSERT INTO Orv301Asw (AswNum, AswGvo, AswGbi, AswPnr, AswBkl, AswBk2, AswGrp, AswAan, AswAtp,
                       AswSal, AswSpr, AswPin, AswLiz, AswMnd, AswSta)
SELECT LPAD(seq, 10, '0'),
       CURDATE() - INTERVAL (1 + h % 2000) DAY,
       CASE WHEN h % 33 = 0 THEN CURDATE() - INTERVAL 1 DAY
            WHEN h % 4 = 0 THEN CURDATE() + INTERVAL (h % 700) DAY
            ELSE NULL END,
       LPAD(seq, 12, '0'), IF(h % 10 = 0, NULL, 'T'), IF(h % 10 = 0, 'T', NULL),
       CONCAT('G', h % 100), NULL, 1 + h % 4,
       IF(h % 50 = 0, CONCAT('P', LPAD(1 + h % 20, 2, '0')), NULL), 1,
       IF(h % 3 = 0, NULL, LPAD(h % 10000, 4, '0')),
       1, 1 + h % 3, IF(h % 97 = 0, 8, NULL)
FROM (SELECT seq, CRC32(CONCAT(@seed, '-asw-', seq)) AS h FROM seq_1_to_@BADGES@) b;

-- One location per badge, a second one for about 3 %.
INSERT INTO Orv113Awv (AwvNum, AwvSto, AwvCod, AwvSta)
SELECT LPAD(seq, 10, '0'), 100 + CRC32(CONCAT(@seed, '-sto-', seq)) % 50, NULL, NULL
FROM seq_1_to_@BADGES@;
INSERT INTO Orv113Awv (AwvNum, AwvSto, AwvCod, AwvSta)
SELECT LPAD(seq, 10, '0'), 100 + CRC32(CONCAT(@seed, '-sto2-', seq)) % 50, NULL, NULL
FROM seq_1_to_@BADGES@ WHERE CRC32(CONCAT(@seed, '-awv2-', seq)) % 33 = 0;

INSERT INTO Orv113Sto (StoNum, StoKtx, StoSta)
SELECT 100 + seq, CONCAT('Ort ', seq), NULL FROM seq_0_to_49;

-- Booking classes: T for time booking, then 0 to 3 access classes.
INSERT INTO Orv301Awb (AWBASW, AWBBKL, AWBZUV)
SELECT LPAD(seq, 10, '0'), 'T', 1 FROM seq_1_to_@BADGES@;
INSERT INTO Orv301Awb (AWBASW, AWBBKL, AWBZUV)
SELECT LPAD(b.seq, 10, '0'),
       CONCAT('C', LPAD(CRC32(CONCAT(@seed, '-awb-', b.seq, '-', k.seq)) % 30, 2, '0')),
       1 + CRC32(CONCAT(@seed, '-zuv-', b.seq, '-', k.seq)) % 9
FROM seq_1_to_@BADGES@ b JOIN seq_1_to_3 k
WHERE k.seq <= CRC32(CONCAT(@seed, '-awbn-', b.seq)) % 4;

-- Time accounts for about 90 % of the badges, some columns NULL.
INSERT INTO O2002TSW (TSWIDN, TswW01, TswW02, TswW03, TswW04, TswW05, TswW06, TswW07, TswW08,
                      TswW09, TswW10, TswW11, TswW12, TswW13, TswW14, TswW15, TswW16,
                      TswF01, TswF02)
SELECT LPAD(seq, 10, '0'), NULL,
       CONCAT(ELT(1 + h % 3, '+', '-', '#'), FORMAT((h % 100000) / 100, 2, 'de_DE')),
       CONCAT('+', (h % 5000) / 100), CONCAT('#', (h % 800) / 100), IF(h % 7 = 0, NULL, '-1,00'),
       '+0,00', '+2,50', '#1,00', CONCAT(ELT(1 + h % 2, '+', '-'), (h % 30000) / 100),
       '+3,00', '+4,00', '+5,00', '+6,00', IF(h % 5 = 0, NULL, '-7,00'), '+8,00', '#9,00',
       IF(h % 4 = 0, NULL, CONCAT('Info ', h % 1000)), 'Gleitzeit'
FROM (SELECT seq, CRC32(CONCAT(@seed, '-tsw-', seq)) AS h FROM seq_1_to_@BADGES@) b
WHERE h % 10 <> 0;

-- Terminal display sets SET1..SET3 (standard definitions), eight slots each.
INSERT INTO Orv119Msd (MsdSal, MsdLfd, MsdSpl, MsdTxt, MsdAnz, MsdWrt, MsdMnd, MsdLiz, MSDERF,
                       MsdSta)
SELECT CONCAT('SET', s.seq), l.seq, IF(l.seq >= 5 AND l.seq % 2 = 0, 2, 1), NULL, l.seq,
       ELT(l.seq, 1, 2, 9, 21, 3, 4, 5, 22), 1, 1, 'KORVALD', NULL
FROM seq_1_to_3 s JOIN seq_1_to_8 l;

-- Badge display sets P01..P20 of the clients, eight slots each, some with a
-- label of their own.
INSERT INTO Orv119Msd (MsdSal, MsdLfd, MsdSpl, MsdTxt, MsdAnz, MsdWrt, MsdMnd, MsdLiz, MSDERF,
                       MsdSta)
SELECT CONCAT('P', LPAD(s.seq, 2, '0')), l.seq, IF(l.seq >= 5 AND (s.seq + l.seq) % 3 = 0, 2, 1),
       IF((s.seq + l.seq) % 5 = 0, CONCAT('Text ', s.seq, '/', l.seq), NULL), l.seq,
       ELT(1 + (s.seq + l.seq) % 8, 1, 2, 9, 21, 3, 4, 22, 16), 1 + s.seq % 3, 1, 'ADMIN', NULL
FROM seq_1_to_20 s JOIN seq_1_to_8 l;

INSERT INTO Orv102Whl (FtxNumSpr, FtxWhl, FtxSpr, FtxT50, FTXT10)
SELECT 220001, seq, 1, ELT(seq, 'Datum', 'Saldo', 'Vormonat', 'Mehrarbeit', 'Urlaub', 'Info',
                           'Resturlaub', 'Espa&#241;a'), NULL
FROM seq_1_to_8;
INSERT INTO Orv102Whl (FtxNumSpr, FtxWhl, FtxSpr, FtxT50, FTXT10)
SELECT 220002, seq, 1, NULL, CONCAT('#W', seq) FROM seq_1_to_30;
