// Showing and choosing covers.
#include "app/window/cover_view.h"

#include <QBuffer>
#include <QImage>
#include <filesystem>

#include "app/catalogue_globals.h"
#include "app/cover_files.h"
#include "app/isbn.h"
#include "app/quillery_file.h"
#include "app/window/main_window_layout.h"
#include "runtime/codepage.h"
#include "runtime/window/file_dialog.h"
#include "runtime/window/message_box.h"
#include "runtime/window/window.h"

namespace quillery {

namespace W = displayquillery;

namespace {

constexpr char kCaption[] = "Cover";

std::filesystem::path currentCoverFile() {
    const TidiedIsbn isbn = tidyIsbn(QLY.ISBN.clipped());
    if (!isbn.valid()) return {};
    return coverFile(std::string(QUILLERYFILE.clipped()), isbn.text);
}

}  // namespace

void showCover() {
    const std::filesystem::path file = currentCoverFile();
    std::error_code error;
    const bool there = !file.empty() && std::filesystem::is_regular_file(file, error);
    // The picture files are looked for by whole path: a bare name would be sought among the
    // program's own pictures.
    PROP(W::COVERVIEW, Prop::Text) =
        there ? std::filesystem::absolute(file, error).string() : std::string();
}

void chooseCover() {
    const TidiedIsbn isbn = tidyIsbn(QLY.ISBN.clipped());
    if (!isbn.valid()) {
        MESSAGE(
            "A cover is kept under the book's ISBN.  Type a valid ISBN and save the book "
            "first.",
            kCaption, ICON::Exclamation);
        return;
    }
    const auto chosen = FILEDIALOG("Choose a Picture for the Cover", FileDialogMode::Open,
                                   "Pictures (*.jpg *.jpeg *.png *.bmp *.gif);;All files (*)");
    if (!chosen) return;
    QImage picture(QString::fromStdString(*chosen));
    if (picture.isNull()) {
        MESSAGE("The file " + utf8ToCp1252(*chosen) + " is not a picture Quillery can read.",
                kCaption, ICON::Exclamation);
        return;
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG", 90);
    std::string error;
    if (!storeCover(std::string(QUILLERYFILE.clipped()), isbn.text,
                    std::string_view(jpeg.data(), jpeg.size()), error)) {
        MESSAGE("The cover could not be kept: " + utf8ToCp1252(error) + ".", kCaption,
                ICON::Exclamation);
        return;
    }
    showCover();
}

}  // namespace quillery
