// A listing printed, or written as a PDF, without windows: the same listing table, page layout
// and report engine as the program's Reports menu. A front end fills in a request and says the
// result in its own way (quillery-data turns it into a message and an exit status).
#pragma once

#include <iosfwd>
#include <string>

namespace quillery {

struct PrintRequest {
    std::string catalogue;        // opened read-only, never created
    std::string listing;          // the listing's short name: author, title, ...
    std::string pdf;              // the PDF to write; empty for the default printer
    bool replaceAnyFile = false;  // an existing file that is not a PDF may be replaced
    std::string pagesDir;         // where the page image files are kept; empty for nowhere
    // Where a progress line counting the records read goes (a terminal); none when null.
    std::ostream* progress = nullptr;
};

enum class PrintOutcome {
    Done,            // the pages were printed or written, or there was nothing to print
    UnknownListing,  // the request names no listing
    Failed,          // a file could not be read or written; nothing is left behind
};

struct PrintResult {
    PrintOutcome outcome = PrintOutcome::Failed;
    // What happened, in one line: the pages printed (or that there was nothing to print) when
    // done, otherwise what failed, naming the file and the reason.
    std::string text;
};

PrintResult printListing(const PrintRequest& request);

}  // namespace quillery
