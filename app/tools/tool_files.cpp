// Reading and writing whole CSV files.
#include "app/tools/tool_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace quillery::tools {

namespace {

bool isStandardStream(const std::string& path) {
    return path.empty() || path == "-";
}

std::string systemReason() {
    return errno != 0 ? std::strerror(errno) : "unknown error";
}

}  // namespace

bool readWholeInput(const std::string& path, std::istream& in, std::string& bytes,
                    std::string& error) {
    if (isStandardStream(path)) {
        std::ostringstream buffer;
        buffer << in.rdbuf();
        if (in.bad()) {
            error = "cannot read standard input";
            return false;
        }
        bytes = std::move(buffer).str();
        return true;
    }
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read \"" + path + "\": " + systemReason();
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        error = "cannot read \"" + path + "\": " + systemReason();
        return false;
    }
    return true;
}

bool writeWholeOutput(const std::string& path, std::ostream& out, const std::string& bytes,
                      std::string& error) {
    if (isStandardStream(path)) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            error = "cannot write standard output";
            return false;
        }
        return true;
    }
    const std::string temporary = path + ".part";
    errno = 0;
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (file) file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (file) file.close();
        if (!file) {
            error = "cannot write \"" + temporary + "\": " + systemReason();
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot write \"" + path + "\": " + systemReason();
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace quillery::tools
