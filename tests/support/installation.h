// A scratch installation for end-to-end runs of the generator: the working
// directory srv/work and the configuration file files/querandol.ini two levels
// up from it, as the generator expects.
#pragma once

#include "support/process.h"

#include <string>
#include <vector>

class Installation {
  public:
    Installation();

    // Writes the configuration file with the four login entries; the values
    // are stored exactly as given (the schema value includes the character
    // the generator drops).
    void WriteLogin(const std::string &login, const std::string &password, const std::string &host,
                    const std::string &schemaValue);

    // Writes the read-only test login for the Orvadat schema.
    void WriteTestLogin();

    // Writes the configuration file's bytes as they are.
    void WriteConfigText(const std::string &text);

    // Runs preluxa in the working directory.
    ProgramResult Run(const std::vector<std::string> &args,
                      const std::vector<std::string> &environment = {}) const;

    // A path inside the installation.
    std::string operator/(const std::string &name) const {
        return dir_ / name;
    }
    const std::string &workDir() const {
        return workDir_;
    }

  private:
    ScratchDir dir_;
    std::string workDir_;
    std::string configPath_;
};

// Every DNL function the generator builds.
inline const std::vector<std::string> kDnlFunctions = {"MGDNL17P", "MGDNL18P", "MGDNL31P",
                                                       "MGDNL60P", "IDSTAMM"};

// The configuration entry (heading and value line) for a key and plain value.
std::string ConfigEntry(int number, const std::string &key, const std::string &plainValue);
