#include "writers/inspect.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace {

void PrintUsage(std::FILE *err) {
    std::fputs("usage: preluxa-inspect FILE [TYPE] [--csv | --json] [--check]\n"
               "  TYPE     MGDNL17P, MGDNL18P, MGDNL31P, MGDNL60P or IDSTAMM; without it the\n"
               "           type is taken from the file name, else from the content\n"
               "  --csv    comma-separated output with a header line\n"
               "  --json   JSON output (UTF-8)\n"
               "  --check  validate the file: exit status 1 and one line per problem\n",
               err);
}

bool ReadWholeFile(const char *path, std::string *content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    *content = bytes.str();
    return !in.bad();
}

} // namespace

int RunInspector(int argc, const char *const *argv, std::FILE *out, std::FILE *err) {
    const char *path = nullptr;
    const char *typeName = nullptr;
    OutputFormat format = OUTPUT_TABLE;
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--csv") == 0) {
            format = OUTPUT_CSV;
        } else if (std::strcmp(argv[i], "--json") == 0) {
            format = OUTPUT_JSON;
        } else if (std::strcmp(argv[i], "--check") == 0) {
            check = true;
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            PrintUsage(err);
            return 2;
        } else if (path == nullptr) {
            path = argv[i];
        } else if (typeName == nullptr) {
            typeName = argv[i];
        } else {
            PrintUsage(err);
            return 2;
        }
    }
    if (path == nullptr) {
        PrintUsage(err);
        return 2;
    }
    std::string content;
    if (!ReadWholeFile(path, &content)) {
        std::fprintf(err, "preluxa-inspect: cannot read %s\n", path);
        return 2;
    }
    const FileType *type = nullptr;
    if (typeName != nullptr) {
        type = FindFileType(typeName);
        if (type == nullptr) {
            std::fprintf(err, "preluxa-inspect: unknown file type %s\n", typeName);
            return 2;
        }
    } else {
        type = FileTypeFromName(path);
        if (type == nullptr) {
            type = FileTypeFromContent(content);
        }
        if (type == nullptr) {
            std::fprintf(err, "preluxa-inspect: cannot tell the type of %s; give it as TYPE\n",
                         path);
            return 2;
        }
    }

    if (check) {
        std::vector<std::string> problems = CheckFile(*type, content);
        for (const std::string &problem : problems) {
            std::fprintf(out, "%s: %s\n", path, problem.c_str());
        }
        if (!problems.empty()) {
            std::fprintf(out, "%s: %zu problem(s), not fit to be sent\n", path, problems.size());
            return 1;
        }
        std::fprintf(out, "%s: %s, %zu record(s), no problems\n", path, type->name.c_str(),
                     DecodeFile(*type, content).size());
        return 0;
    }
    PrintRecords(*type, DecodeFile(*type, content), format, out);
    return 0;
}
