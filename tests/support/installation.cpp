#include "support/installation.h"

#include "run/password.h"
#include "support/test_db.h"

#include <stdexcept>

std::string ConfigEntry(int number, const std::string &key, const std::string &plainValue) {
    char encrypted[512];
    if (EncryptPassword(plainValue.c_str(), encrypted, sizeof encrypted, kConfigKey) < 0) {
        throw std::runtime_error("value too long to encrypt: " + plainValue);
    }
    return "PRELUXA;DB;\n" + std::to_string(number) + ";" + key + ";" + encrypted + "\n";
}

Installation::Installation()
    : workDir_(dir_ / "srv/work"), configPath_(dir_ / "files/querandol.ini") {
    MakeDirs(workDir_);
    MakeDirs(dir_ / "files");
}

void Installation::WriteLogin(const std::string &login, const std::string &password,
                              const std::string &host, const std::string &schemaValue) {
    WriteConfigText(ConfigEntry(1, "LOGIN", login) + ConfigEntry(2, "PASS", password) +
                    ConfigEntry(3, "NET8", host) + ConfigEntry(4, "SCHEMA", schemaValue));
}

void Installation::WriteTestLogin() {
    WriteLogin(kReadOnlyUser, kReadOnlyPassword, "localhost", "orvadat.");
}

void Installation::WriteConfigText(const std::string &text) {
    WriteBytes(configPath_, text);
}

ProgramResult Installation::Run(const std::vector<std::string> &args,
                                const std::vector<std::string> &environment) const {
    return RunProgram(PRELUXA_BINARY, args, workDir_, "", environment);
}
