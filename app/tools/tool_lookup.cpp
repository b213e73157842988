// quillery-data lookup and add: books looked up by ISBN in the book service.
#include <QCoreApplication>
#include <ostream>

#include "app/cover_files.h"
#include "app/isbn.h"
#include "app/lookup/book_entry.h"
#include "app/lookup/book_lookup.h"
#include "app/tools/tool_catalogue.h"
#include "app/tools/tool_commands.h"

namespace quillery::tools {

namespace {

// The network needs an application object; the tool makes one only for these commands.
void ensureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "quillery-data";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

std::string joined(const std::vector<std::string>& values) {
    std::string text;
    for (const std::string& value : values)
        text += (text.empty() ? "" : ", ") + value;
    return text;
}

// "The Histories by Herodotus" and, indented, what else the service said.
void printFound(std::ostream& out, const lookup::FoundBook& book) {
    out << book.title;
    if (!book.authors.empty()) out << " by " << joined(book.authors);
    out << "\n";
    std::vector<std::string> details;
    if (!book.publishDate.empty()) details.push_back("published " + book.publishDate);
    if (!book.publishers.empty()) details.push_back(joined(book.publishers));
    if (!book.pages.empty()) details.push_back(book.pages + " pages");
    if (!details.empty()) out << "  " << joined(details) << "\n";
}

// The ISBNs of the command line tidied; false after a message for the first that is none.
bool tidiedIsbns(const ToolArguments& args, ToolContext& context, std::vector<std::string>& isbns) {
    for (const std::string& given : args.isbns) {
        const TidiedIsbn isbn = tidyIsbn(given);
        if (!isbn.valid()) {
            const std::string problem = isbnProblem(isbn);
            failed(context, problem.empty() ? "an empty ISBN was given" : problem);
            return false;
        }
        isbns.push_back(args.toIsbn13 && isbn.form == IsbnForm::kIsbn10 ? isbn13Of(isbn.text)
                                                                        : isbn.text);
    }
    return true;
}

lookup::LookupSettings toolSettings(bool covers) {
    lookup::LookupSettings settings = lookup::withAddressFromEnvironment({});
    settings.fetchCover = covers;
    return settings;
}

bool unreachable(const lookup::LookupResult& result) {
    return !result.found() && result.status != lookup::LookupStatus::kNotFound;
}

}  // namespace

int runLookup(const ToolArguments& args, ToolContext& context) {
    std::vector<std::string> isbns;
    if (!tidiedIsbns(args, context, isbns)) return ExitStatus::kUsage;
    ensureApplication();
    const lookup::LookupSettings settings = toolSettings(false);
    int found = 0;
    for (const std::string& isbn : isbns) {
        const lookup::LookupResult result = lookup::lookUpAndWait(settings, isbn);
        if (unreachable(result)) return failed(context, result.message);
        context.out << isbn << ": ";
        if (result.found()) {
            ++found;
            printFound(context.out, result.book);
        } else {
            context.out << "not found\n";
        }
    }
    return found > 0 ? ExitStatus::kOk : ExitStatus::kFaultsFound;
}

int runAdd(const ToolArguments& args, ToolContext& context) {
    std::vector<std::string> isbns;
    if (!tidiedIsbns(args, context, isbns)) return ExitStatus::kUsage;
    ensureApplication();
    // Everything is looked up before the catalogue is touched: a service that fails half way
    // leaves the catalogue as it was.
    const lookup::LookupSettings settings = toolSettings(true);
    exchange::ExchangeImport added;
    std::vector<std::pair<std::string, QByteArray>> covers;
    for (const std::string& isbn : isbns) {
        const lookup::LookupResult result = lookup::lookUpAndWait(settings, isbn);
        if (unreachable(result)) return failed(context, result.message + " Nothing was written.");
        if (!result.found()) {
            added.report.note(0, "ISBN " + isbn, "not found; not added");
            continue;
        }
        added.records.push_back(
            lookup::entryOfFoundBook(result.book, isbn, {}, context.now, added.report));
        if (!result.cover.isEmpty()) covers.emplace_back(isbn, result.cover);
    }

    OpenCatalogue catalogue(context.store);
    if (int status = openSoundForWriting(args.file, catalogue, context); status != ExitStatus::kOk)
        return status;
    exchange::IsbnIndex known;
    if (StoreStatus status = indexIsbns(context.store, known); !status.ok()) {
        return storeFailed(context, "cannot read", args.file, status);
    }
    exchange::reviewImportedIsbns(added, known, {args.toIsbn13});
    if (StoreStatus status = addAll(context.store, added.records); !status.ok()) {
        return failed(context, "cannot add the entries to " + quoted(args.file) + ": " +
                                   status.text + "; nothing was written");
    }
    for (const auto& [isbn, bytes] : covers) {
        std::string error;
        if (!storeCover(args.file, isbn, std::string_view(bytes.data(), bytes.size()), error)) {
            added.report.note(0, "ISBN " + isbn, "cover not kept: " + error);
        }
    }
    printReport(context, added.report);
    context.out << "added " << added.records.size()
                << (added.records.size() == 1 ? " entry" : " entries") << " into " << args.file
                << "\n";
    return added.records.empty() ? ExitStatus::kFaultsFound : ExitStatus::kOk;
}

}  // namespace quillery::tools
