-- A small demo installation: two clients, three terminals of different
-- models, a dozen badges. Dates are relative to today so the demo never ages.
USE Orvadat;

-- Terminals: the gate walks all badges, the canteen terminal only client 2's.
INSERT INTO Orv1140Trm (TrmNam, TRMMOD, TRMSAL, TrmSpr, TrmLiz, TrmMnd, TrmSta) VALUES
  ('EINGANG-01', '7744-010', 'STD', 1, 1, 1, NULL),
  ('KANTINE-02', '7598-002', 'KAN', 1, 1, 2, 0),
  ('LAGER-03',   '7700-001', 'STD', 2, 1, 1, NULL),
  ('ALT-99',     '7744-010', 'STD', 1, 1, 1, 8);

INSERT INTO Orv115Tfz (TfzTrm, TfzLiz, TfzMnd, TfzSta) VALUES
  ('KANTINE-02', 1, 2, NULL),
  ('KANTINE-02', 1, 1, 4);

-- Readers 1 to 8 at the gate (reader 5 switched off), 1 to 3 elsewhere.
INSERT INTO Orv401Zls (ZlsTrm, ZlsLes, ZlsZko, ZlsSta) VALUES
  ('EINGANG-01', 1, 'Drehkreuz', NULL), ('EINGANG-01', 2, 'Tor', NULL),
  ('EINGANG-01', 3, 'Tuer Ost', NULL),  ('EINGANG-01', 4, 'Tuer West', NULL),
  ('EINGANG-01', 5, 'alt', 8),          ('EINGANG-01', 6, 'Schranke', NULL),
  ('EINGANG-01', 7, 'Rampe', NULL),     ('EINGANG-01', 8, 'Nebeneingang', NULL),
  ('KANTINE-02', 1, 'Kasse', NULL),     ('KANTINE-02', 2, 'Ausgabe', NULL),
  ('LAGER-03', 1, 'Rolltor', NULL),     ('LAGER-03', 3, 'Buero', NULL);

-- Booking classes on the terminals: '1' time booking, '0' access per reader.
INSERT INTO MGSST35P (M35TRM, M35BKL, M35LES, M35BCH) VALUES
  ('EINGANG-01', 'T', '01', '1'),
  ('EINGANG-01', 'A', '01', '0'), ('EINGANG-01', 'A', '02', '0'),
  ('EINGANG-01', 'B', '03', '0'), ('EINGANG-01', 'VIP', '08', '0'),
  ('KANTINE-02', 'T', '01', '1'), ('KANTINE-02', 'K', '01', '0'),
  ('LAGER-03', 'T', '01', '1'),   ('LAGER-03', 'L', '01', '0'), ('LAGER-03', 'L', '03', '0');

-- Badges of client 1 (Mnd 1) and client 2 (Mnd 2).
INSERT INTO Orv301Asw (AswNum, AswGvo, AswGbi, AswPnr, AswBkl, AswBk2, AswGrp, AswAtp, AswSal, AswSpr, AswPin, AswLiz, AswMnd, AswSta) VALUES
  ('10001', CURDATE() - INTERVAL 400 DAY, NULL, '0000000004711', 'A', NULL, 'PROD', 1, NULL, 1, '4711', 1, 1, NULL),
  ('10002', CURDATE() - INTERVAL 30 DAY, CURDATE() + INTERVAL 335 DAY, '0000000004712', 'B', NULL, 'PROD', 1, NULL, 1, NULL, 1, 1, 0),
  ('10003', NULL, CURDATE() + INTERVAL 10 DAY, '0000000004713', NULL, 'T', 'VERW', 2, 'VIP', 2, '0815', 1, 1, NULL),
  ('10004', CURDATE() - INTERVAL 5 DAY, NULL, NULL, 'T', NULL, 'GAST', 3, NULL, 1, NULL, 1, 1, NULL),
  ('10005', CURDATE() - INTERVAL 900 DAY, CURDATE() - INTERVAL 1 DAY, '0000000004715', 'A', NULL, 'PROD', 1, NULL, 1, NULL, 1, 1, NULL),
  ('10006', CURDATE() - INTERVAL 100 DAY, NULL, '0000000004716', 'X', NULL, 'PROD', 1, NULL, 1, NULL, 1, 1, 4),
  ('10007', CURDATE() - INTERVAL 60 DAY, NULL, '0000000004717', 'A', NULL, 'LAGR', 1, NULL, 1, '1234', 1, 1, NULL),
  ('20001', CURDATE() - INTERVAL 200 DAY, NULL, '0000000009001', 'K', NULL, 'KUE', 1, NULL, 1, NULL, 1, 2, NULL),
  ('20002', CURDATE() - INTERVAL 20 DAY, CURDATE() + INTERVAL 20 DAY, '0000000009002', 'T', NULL, 'KUE', 1, NULL, 1, '2002', 1, 2, NULL),
  ('20003', CURDATE(), CURDATE(), '0000000009003', 'K', NULL, 'KUE', 4, NULL, 1, NULL, 1, 2, NULL);

-- Badge to location links; badge 10007 has two.
INSERT INTO Orv113Awv (AwvNum, AwvSto, AwvCod, AwvSta) VALUES
  ('10001', 12345, NULL, NULL), ('10002', 200, 1, NULL), ('10003', NULL, NULL, NULL),
  ('10004', 200, NULL, NULL),   ('10005', 12345, NULL, NULL), ('10006', 200, NULL, NULL),
  ('10007', 300, NULL, NULL),   ('10007', 12345, NULL, NULL),
  ('20001', 400, NULL, NULL),   ('20002', 400, NULL, NULL), ('20003', 400, 8, NULL);

INSERT INTO Orv113Sto (StoNum, StoKtx, StoSta) VALUES
  (200, 'Halle 2', NULL), (300, 'Lager Sued', NULL), (400, 'Kantine', NULL), (12345, 'Werk Nord', NULL);

-- Booking classes of the badges with priorities.
INSERT INTO Orv301Awb (AWBASW, AWBBKL, AWBZUV) VALUES
  ('10001', 'T', 1), ('10001', 'A', 5), ('10001', 'B', 9),
  ('10002', 'T', 1), ('10002', 'B', 5),
  ('10003', 'T', 1), ('10003', 'VIP', 9), ('10003', 'A', 2),
  ('10004', 'T', 1),
  ('10007', 'A', 3), ('10007', 'L', 4),
  ('20001', 'T', 1), ('20001', 'K', 2),
  ('20002', 'T', 1);

-- Time accounts: sign character then value.
INSERT INTO O2002TSW (TSWIDN, TswW01, TswW02, TswW03, TswW04, TswW05, TswW09, TswW10, TswF01, TswF02) VALUES
  ('10001', NULL, '+12.50', '-3.25', '#8.00', '+1.00', '+20.0', '+2.00', 'Urlaub 2026: 12 Tage', 'Gleitzeit'),
  ('10002', NULL, '-4.75', '+0.50', '#0.00', NULL, '-1.5', '+0.00', 'Schicht B', NULL),
  ('10003', NULL, '+101.00', '+7.00', '#7.00', '+2.50', '#3.00', NULL, 'Vertrauensarbeitszeit', NULL),
  ('20001', NULL, '+0.00', NULL, NULL, NULL, '+5.00', NULL, 'Kantine', NULL);

-- Display sets: the standard set of the gate, the canteen set and the VIP set
-- of badge 10003.
INSERT INTO Orv119Msd (MsdSal, MsdLfd, MsdSpl, MsdTxt, MsdAnz, MsdWrt, MsdMnd, MsdLiz, MSDERF, MsdSta) VALUES
  ('STD', 1, NULL, NULL, 1, 1, 1, 1, 'KORVALD', NULL),
  ('STD', 2, 1, NULL, 2, 2, 1, 1, 'KORVALD', NULL),
  ('STD', 3, 1, 'Gleitzeit', 3, 9, 1, 1, 'KORVALD', NULL),
  ('STD', 4, 1, NULL, 4, 21, 1, 1, 'ADMIN', NULL),
  ('STD', 5, 2, NULL, 5, 3, 1, 1, 'KORVALD', NULL),
  ('STD', 6, 1, NULL, 6, 4, 1, 1, 'KORVALD', NULL),
  ('STD', 7, 1, 'Resturlaub', 7, 5, 1, 1, 'KORVALD', NULL),
  ('STD', 8, 1, NULL, 8, 10, 1, 1, 'KORVALD', NULL),
  ('KAN', 1, NULL, NULL, 1, 1, 1, 2, 'ADMIN', NULL),
  ('KAN', 2, NULL, 'Guthaben', 2, 9, 1, 2, 'ADMIN', NULL),
  ('VIP', 1, NULL, NULL, 1, 1, NULL, NULL, 'ADMIN', NULL),
  ('VIP', 2, NULL, 'Saldo VIP', 2, 2, NULL, NULL, 'ADMIN', NULL),
  ('VIP', 3, NULL, NULL, 9, 21, NULL, NULL, 'ADMIN', NULL);

-- Choice lists: 220001 labels, 220002 value codes, languages 1 and 2.
INSERT INTO Orv102Whl (FtxNumSpr, FtxWhl, FtxSpr, FtxT50, FTXT10) VALUES
  (220001, 1, 1, 'Datum', NULL), (220001, 2, 1, 'Saldo', NULL), (220001, 3, 1, 'Gleitzeit', NULL),
  (220001, 4, 1, 'Info', NULL), (220001, 5, 1, 'Vormonat', NULL), (220001, 6, 1, 'Mehrarbeit', NULL),
  (220001, 7, 1, 'Urlaub', NULL), (220001, 8, 1, 'Espa&#241;a', NULL), (220001, 9, 1, 'Hinweis', NULL),
  (220001, 1, 2, 'Date', NULL), (220001, 2, 2, 'Balance', NULL), (220001, 9, 2, 'Note', NULL),
  (220002, 1, 1, NULL, '#W1'), (220002, 2, 1, NULL, '#W2'), (220002, 3, 1, NULL, '#W3'),
  (220002, 4, 1, NULL, '#W4'), (220002, 5, 1, NULL, '#W5'), (220002, 9, 1, NULL, '#W9'),
  (220002, 10, 1, NULL, '#W10'), (220002, 21, 1, NULL, '#W21'),
  (220002, 1, 2, NULL, '#W1'), (220002, 2, 2, NULL, '#W2'), (220002, 21, 2, NULL, '#W21');
