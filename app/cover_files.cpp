// Cover files beside the catalogue.
#include "app/cover_files.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace quillery {

std::filesystem::path coversFolder(const std::filesystem::path& catalogue) {
    return catalogue.parent_path() / (catalogue.stem().string() + ".covers");
}

std::filesystem::path coverFile(const std::filesystem::path& catalogue, std::string_view isbn) {
    const bool nameable = !isbn.empty() && std::all_of(isbn.begin(), isbn.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == 'X';
    });
    if (!nameable) return {};
    return coversFolder(catalogue) / (std::string(isbn) + ".jpg");
}

bool storeCover(const std::filesystem::path& catalogue, std::string_view isbn,
                std::string_view bytes, std::string& error) {
    const std::filesystem::path target = coverFile(catalogue, isbn);
    if (target.empty()) {
        error = "\"" + std::string(isbn) + "\" cannot name a cover file";
        return false;
    }
    std::error_code code;
    std::filesystem::create_directories(target.parent_path(), code);
    if (code) {
        error = "cannot make the folder " + target.parent_path().string() + ": " + code.message();
        return false;
    }
    std::filesystem::path partial = target;
    partial += ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::filesystem::remove(partial, code);
            error = "cannot write " + target.string();
            return false;
        }
    }
    std::filesystem::rename(partial, target, code);
    if (code) {
        std::filesystem::remove(partial, code);
        error = "cannot write " + target.string() + ": " + code.message();
        return false;
    }
    return true;
}

}  // namespace quillery
