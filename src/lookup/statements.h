// Every statement the lookups send, as printf-style templates: %s takes a
// text (escaped for the connection), %ld a number, %% stands for one percent
// sign. The texts are kept byte for byte as the installation's other tools
// send them.
#pragma once

// All valid badges of the installation.
inline constexpr const char kBadgeStatementGeneral[] =
    "SELECT  AswNum, date_format(AswGvo,'%%Y%%m%%d'), "
    "date_format(AswGbi,'%%Y%%m%%d'), AswPnr, AswBkl, AswGrp, AswAan, AswAtp, "
    "AwvSto, AswSal, AswBk2,  AswSpr, AswPin  FROM  Orvadat.Orv301Asw, "
    "Orvadat.Orv113Awv  WHERE ASWNUM = AWVNUM  AND ((curdate() >= AswGvo AND "
    "AswGbi IS NULL)   OR (curdate() <= AswGbi AND AswGvo IS NULL)   OR "
    "(curdate() >= AswGvo AND curdate() <= AswGbi))  AND (AWVCOD <> 8 OR AWVCOD "
    "IS NULL)  AND ((AwvSta <> 4 AND AwvSta <> 8) OR AwvSta IS NULL)  AND "
    "((AswSta <> 4 AND AswSta <> 8) OR AswSta IS NULL)  ORDER BY AswNum, AswGvo, "
    "AswBkl ";

// Valid badges of the clients assigned to the terminal (%s: terminal name).
inline constexpr const char kBadgeStatementForTerminal[] =
    "SELECT  AswNum, date_format(AswGvo,'%%Y%%m%%d'), "
    "date_format(AswGbi,'%%Y%%m%%d'), AswPnr, AswBkl, AswGrp, AswAan, AswAtp, "
    "AwvSto, AswSal, AswBk2,  AswSpr, AswPin  FROM  Orvadat.Orv301Asw, "
    "Orvadat.Orv113Awv, Orvadat.Orv115Tfz  WHERE TFZTRM = '%s'  AND ASWLIZ = "
    "TFZLIZ  AND ASWMND = TFZMND  AND ASWNUM = AWVNUM  AND ((curdate() >= AswGvo "
    "AND AswGbi IS NULL)   OR (curdate() <= AswGbi AND AswGvo IS NULL)   OR "
    "(curdate() >= AswGvo AND curdate() <= AswGbi))  AND (AWVCOD <> 8 OR AWVCOD "
    "IS NULL)  AND ((AwvSta <> 4 AND AwvSta <> 8) OR AwvSta IS NULL)  AND "
    "((AswSta <> 4 AND AswSta <> 8) OR AswSta IS NULL)  ORDER BY AswNum, AswGvo, "
    "AswBkl ";

// Model and display set of an active terminal (%s: terminal name).
inline constexpr const char kTerminalStatement[] =
    "SELECT TRMMOD, TRMSAL  FROM  Orvadat.Orv1140Trm  WHERE TrmNam = '%s'  AND   "
    "((TrmSta <> 4 AND TrmSta <> 8) OR TrmSta IS NULL)";

// Number of active client assignments (%s: terminal name).
inline constexpr const char kAssignmentCountStatement[] =
    "SELECT COUNT(*)  FROM  Orvadat.Orv115Tfz  WHERE TfzTrm = '%s'  AND   "
    "((TfzSta <> 4 AND TfzSta <> 8) OR TfzSta IS NULL)";

// Booking classes of the badge that grant time booking (%s: terminal name, badge number).
inline constexpr const char kTimeAuthorisationStatement[] =
    "SELECT COUNT(*) FROM  Orvadat.MGSST35P WHERE M35Trm = '%s' AND   M35BCH = "
    "'1' AND   M35Bkl IN (SELECT AwbBkl FROM  Orvadat.Orv301Awb WHERE AWBASW = "
    "'%s')";

// Active readers up to a number (%s: terminal name, %ld: highest reader).
inline constexpr const char kReaderStatement[] =
    "SELECT ZlsLes, ZlsZko  FROM  Orvadat.Orv401Zls  WHERE ZlsTrm = '%s'  AND "
    "ZlsLes <= %ld  AND ((ZlsSta <> 4 AND ZlsSta <> 8) OR ZlsSta IS NULL)  ORDER "
    "BY ZlsLes ";

// Access booking classes of the badge, highest priority first (%s: terminal name, badge number).
inline constexpr const char kAccessStatement[] =
    "SELECT DISTINCT M35BKL, M35LES, AWBZUV FROM   Orvadat.MGSST35P, "
    "Orvadat.Orv301Awb WHERE  M35TRM = '%s' AND    AWBASW = '%s' AND    M35Bch = "
    "'0' AND    M35Bkl = AWBBKL ORDER BY AwbZuv DESC";

// Time-account balances and free texts (%s: badge number).
inline constexpr const char kTimeAccountStatement[] =
    " SELECT        TswW01,        substring(TswW02, 1, 1), substring(TswW02, 2, "
    "9),        substring(TswW03, 1, 1), substring(TswW03, 2, 9),        "
    "substring(TswW04, 1, 1), substring(TswW04, 2, 9),        substring(TswW05, "
    "1, 1), substring(TswW05, 2, 9),        substring(TswW06, 1, 1), "
    "substring(TswW06, 2, 9),        substring(TswW07, 1, 1), substring(TswW07, "
    "2, 9),        substring(TswW08, 1, 1), substring(TswW08, 2, 9),        "
    "substring(TswW09, 1, 1), substring(TswW09, 2, 9),        substring(TswW10, "
    "1, 1), substring(TswW10, 2, 9),        substring(TswW11, 1, 1), "
    "substring(TswW11, 2, 9),        substring(TswW12, 1, 1), substring(TswW12, "
    "2, 9),        substring(TswW13, 1, 1), substring(TswW13, 2, 9),        "
    "substring(TswW14, 1, 1), substring(TswW14, 2, 9),        substring(TswW15, "
    "1, 1), substring(TswW15, 2, 9),        substring(TswW16, 1, 1), "
    "substring(TswW16, 2, 9),        TswF01, TswF02, TswF03, TswF04, TswF05,     "
    "   TswF06, TswF07, TswF08, TswF09, TswF10  FROM  ORVADAT.O2002TSW  WHERE "
    "TSWIDN = '%s' ";

// Short text of the badge's location (%s: badge number).
inline constexpr const char kLocationStatement[] =
    " SELECT StoKtx  FROM  Orvadat.Orv113Sto, Orvadat.Orv113Awv  WHERE AwvNum = "
    "'%s'  AND   StoNum = AwvSto  AND ((AwvSta <> 4 AND AwvSta <> 8) OR AwvSta "
    "IS NULL)  AND ((StoSta <> 4 AND StoSta <> 8) OR StoSta IS NULL) ";

// Display-text definitions of the terminal's display set (%s: terminal name).
inline constexpr const char kTerminalMessageStatement[] =
    "SELECT  MsdLfd, COALESCE(MsdSpl, 1), SubString(FtxT50, 1, 17),  "
    "SubString(MsdTxt, 1, 12)  FROM  Orvadat.Orv1140Trm, Orvadat.Orv119Msd, "
    "Orvadat.Orv102Whl  WHERE TrmNam = '%s'  AND   TrmSal = MsdSal  AND  "
    "((TrmMnd = MsdMnd AND TrmLiz = MsdLiz) OR  MSDERF = 'KORVALD')  AND   "
    "FtxNumSpr = 220001  AND   FtxWhl = MsdAnz  AND   FtxSpr = TrmSpr  AND  "
    "((TrmSta <> 4 AND TrmSta <> 8) OR TrmSta IS NULL)  AND  ((MsdSta <> 4 AND "
    "MsdSta <> 8) OR MsdSta IS NULL)  ORDER BY MsdSal, MsdLfd ";

// Value code of a terminal-level definition (%s: terminal name, %ld: sequence number).
inline constexpr const char kTerminalValueCodeStatement[] =
    " SELECT FTXT10   FROM ORVADAT.ORV1140TRM, ORVADAT.ORV119MSD, "
    "ORVADAT.ORV102WHL   WHERE TRMNAM  = '%s'   AND  TRMSAL = MSDSAL   AND "
    "((TrmMnd = MsdMnd AND TrmLiz = MsdLiz) OR  MSDERF = 'KORVALD')   AND  "
    "FTXNUMSPR = 220002   AND  FTXWHL = MSDWRT   AND  FTXSPR  = TRMSPR   AND  "
    "MSDLFD = %ld   AND ((TrmSta <> 4 AND TrmSta <> 8) OR TrmSta IS NULL)     "
    "AND ((MsdSta <> 4 AND MsdSta <> 8) OR MsdSta IS NULL) ";

// Display-text definitions of the badge's own display set (%s: badge number).
inline constexpr const char kBadgeMessageStatement[] =
    "SELECT  MsdLfd, COALESCE(MsdSpl, 1), SubString(FtxT50, 1, 12),  "
    "SubString(MsdTxt, 1, 12)  FROM  Orvadat.Orv301Asw, Orvadat.Orv119Msd, "
    "Orvadat.Orv102Whl  WHERE AswNum = '%s'  AND AswSal = MsdSal  AND FtxNumSpr "
    "= 220001  AND FtxWhl = MsdAnz  AND FtxSpr = AswSpr    AND ((AswSta <> 4 AND "
    "AswSta <> 8) OR AswSta IS NULL)    AND ((MsdSta <> 4 AND MsdSta <> 8) OR "
    "MsdSta IS NULL)  ORDER BY MsdSal, MsdLfd ";

// Value code of a badge-level definition (%s: badge number, %ld: sequence number).
inline constexpr const char kBadgeValueCodeStatement[] =
    " SELECT FTXT10  FROM ORVADAT.ORV301ASW, ORVADAT.ORV119MSD, "
    "ORVADAT.ORV102WHL  WHERE ASWNUM  = '%s'  AND   ASWSAL = MSDSAL  AND   "
    "FTXNUMSPR = 220002  AND   FTXWHL = MSDWRT  AND   FTXSPR  = ASWSPR  AND   "
    "MSDLFD = %ld  AND  ((AswSta <> 4 AND AswSta <> 8) OR AswSta IS NULL)  AND  "
    "((MsdSta <> 4 AND MsdSta <> 8) OR MsdSta IS NULL) ";
