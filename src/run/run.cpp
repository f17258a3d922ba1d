#include "run/run.h"

#include "common/records.h"
#include "common/run_state.h"
#include "common/text.h"
#include "db/db.h"
#include "lookup/terminal.h"
#include "run/config.h"
#include "run/writer_dispatch.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kDnlFunctionCapacity = 19;
constexpr size_t kTerminalNameCapacity = 255;
constexpr size_t kDownloadPathCapacity = 199;
constexpr size_t kLoginCapacity = 50;
constexpr size_t kSchemaValueCapacity = 21;

char DnlFunction[kDnlFunctionCapacity + 1];
char DownloadPath[kDownloadPathCapacity + 1];
TerminalRecord Terminal;
char UserName[kLoginCapacity + 1];
char Password[kLoginCapacity + 1];
char Host[kLoginCapacity + 1];
char SchemaName[kSchemaValueCapacity + 1];

void PrintUsage(int parameterCount) {
    std::printf("Anzahl Parameter(mind. 4) unterschritten! AnzParam: %d", parameterCount);
    std::printf("Aufruf: PRELUXA [Param1] [Param2] [Param3] [Param4] /d \n");
    std::printf("Param1: DNL-Funktion\n");
    std::printf("Param2: Terminal-Name\n");
    std::printf("Param3: Pfad der DNL-Datei\n");
    std::printf("Param4: 1: neu 0: dran h\xE4"
                "ngen\n");
}

// Parameters longer than their buffers are refused, never cut: a cut terminal
// name or path would build the wrong file.
bool CheckParameterLength(int position, const char *value, size_t capacity) {
    size_t length = std::strlen(value);
    if (length <= capacity) {
        return true;
    }
    std::printf("Param%d zu lang: %zu Zeichen, hoechstens %zu erlaubt!\n", position, length,
                capacity);
    return false;
}

// Reads one configuration key into `target`. Returns false (message printed)
// for a malformed file or a value that does not fit.
bool ReadLoginValue(const char *key, char *target, size_t capacity) {
    int status = ReadConfigValue("", key, 0, kConfigPath);
    if (status == CONFIG_MALFORMED) {
        std::printf("Konfigurationsdatei %s fehlerhaft (Zeile %d)!\n", kConfigPath,
                    ConfigErrorLine);
        return false;
    }
    if (!CopyText(target, capacity + 1, ConfigValue)) {
        std::printf("Konfigurationswert %s zu lang: %zu Zeichen, hoechstens %zu erlaubt!\n", key,
                    std::strlen(ConfigValue), capacity);
        return false;
    }
    return true;
}

bool ReadLogin() {
    char schemaValue[kSchemaValueCapacity + 1] = {};
    if (!ReadLoginValue("LOGIN", UserName, kLoginCapacity) ||
        !ReadLoginValue("PASS", Password, kLoginCapacity) ||
        !ReadLoginValue("NET8", Host, kLoginCapacity) ||
        !ReadLoginValue("SCHEMA", schemaValue, kSchemaValueCapacity)) {
        return false;
    }
    // The stored schema value carries one character more than the schema name.
    size_t length = std::strlen(schemaValue);
    if (length > 0) {
        std::memcpy(SchemaName, schemaValue, length - 1);
        SchemaName[length - 1] = '\0';
    }
    UpperCaseInPlace(SchemaName);
    return true;
}

bool CloseDownloadFile() {
    bool failed = std::ferror(DownloadFile) != 0;
    if (std::fclose(DownloadFile) != 0) {
        failed = true;
    }
    DownloadFile = nullptr;
    if (failed) {
        std::printf("Downloadfile %s konnte nicht vollstaendig geschrieben werden!\n",
                    DownloadPath);
    }
    return !failed;
}

} // namespace

int RunGenerator(int argc, char **argv) {
    int parameterCount = argc - 1;
    if (parameterCount < 4) {
        PrintUsage(parameterCount);
        return -1;
    }
    if (!CheckParameterLength(1, argv[1], kDnlFunctionCapacity) ||
        !CheckParameterLength(2, argv[2], kTerminalNameCapacity) ||
        !CheckParameterLength(3, argv[3], kDownloadPathCapacity)) {
        return -1;
    }

    std::memset(&Terminal, 0, sizeof Terminal);
    CopyText(DnlFunction, sizeof DnlFunction, argv[1]);
    CopyText(Terminal.TrmNam, sizeof Terminal.TrmNam, argv[2]);
    CopyText(DownloadPath, sizeof DownloadPath, argv[3]);

    // A name that selects no writer is refused before anything is touched;
    // otherwise the run would truncate the file and report success.
    char upperFunction[kDnlFunctionCapacity + 1];
    CopyText(upperFunction, sizeof upperFunction, DnlFunction);
    UpperCaseInPlace(upperFunction);
    if (!IsDnlFunction(upperFunction)) {
        std::printf("Unbekannte DNL-Funktion: %s\n", argv[1]);
        return -1;
    }

    bool newFile = argv[4][0] == '1';
    VerboseMode = (parameterCount == 5 && std::strcmp(argv[5], "/d") == 0) ? 1 : 0;

    std::memset(UserName, 0, sizeof UserName);
    std::memset(Password, 0, sizeof Password);
    std::memset(Host, 0, sizeof Host);
    std::memset(SchemaName, 0, sizeof SchemaName);
    if (!ReadLogin()) {
        return -1;
    }

    // Without a login the client library would connect as the operating
    // system user, which may have far more rights than the read-only login.
    if (UserName[0] == '\0') {
        std::printf("Kein Datenbank-Login (LOGIN) in %s gefunden!\n", kConfigPath);
        return -1;
    }

    int connectStatus = DbConnect(UserName, Password, Host, SchemaName);
    if (connectStatus != 0) {
        std::printf("DB-Connect-Error: %d!", connectStatus);
        // The password is never echoed in clear.
        std::printf("Name:%s Pwd:%s Net:%s Schema:%s\n", UserName, Password[0] != '\0' ? "***" : "",
                    Host, SchemaName);
        return -1;
    }

    UpperCaseInPlace(DnlFunction);
    std::printf("Mit Datenbank verbunden! Schema: %s\n", SchemaName);

    DownloadFile = std::fopen(DownloadPath, newFile ? "w" : "a");
    if (DownloadFile == nullptr) {
        std::printf("Downloadfile %s konnte nicht geoeffnet werden!\n", DownloadPath);
        return -1;
    }

    int exitStatus = 0;
    if (LookupTerminal(&Terminal) == TERMINAL_FIELD_TOO_LONG) {
        exitStatus = -1;
    } else if (CallWriter(DnlFunction, DownloadPath, &Terminal) == 0) {
        std::printf("Programmabbruch: Fehler bei Erstellung der Datei %s!\n", DnlFunction);
        exitStatus = -1;
    }

    // A write error (a full disk, say) means the file is incomplete.
    if (!CloseDownloadFile()) {
        exitStatus = -1;
    }
    return exitStatus;
}
