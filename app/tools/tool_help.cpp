// Help and usage texts of quillery-data.
#include "app/tools/tool_help.h"

namespace quillery::tools {

namespace {

const char* synopsis(ToolCommand command) {
    switch (command) {
        case ToolCommand::kCreate:
            return "create FILE";
        case ToolCommand::kImport:
            return "import [--dry-run] [--from FORMAT] [--isbn13] FILE [CSV]";
        case ToolCommand::kExport:
            return "export [--to FORMAT] FILE [CSV]";
        case ToolCommand::kList:
            return "list --key NAME [--all] FILE";
        case ToolCommand::kCheck:
            return "check FILE";
        case ToolCommand::kRebuild:
            return "rebuild FILE";
        case ToolCommand::kInfo:
            return "info FILE";
        case ToolCommand::kPrint:
            return "print --listing NAME [--pdf OUT.pdf [--replace]] [--pages DIR] FILE";
        case ToolCommand::kLookup:
            return "lookup ISBN...";
        case ToolCommand::kAdd:
            return "add [--isbn13] --isbn ISBN... FILE";
    }
    return "";
}

const char* description(ToolCommand command) {
    switch (command) {
        case ToolCommand::kCreate:
            return "Creates a new catalogue FILE holding only its blank header record.\n"
                   "Fails when FILE exists.\n";
        case ToolCommand::kImport:
            return "Adds one entry to the catalogue FILE for each row of CSV (standard input when\n"
                   "CSV is left out or is \"-\"). CSV is UTF-8 with a header row naming the book\n"
                   "fields (LASTNAME, FIRSTNAME, TITLE, ...; see the README). Each entry gets its\n"
                   "derived keys and, unless the row gives them, creation and change stamps of\n"
                   "now. The whole CSV is checked before anything is written: a bad row is\n"
                   "reported with its line number and the catalogue is left as it was. All "
                   "entries\n"
                   "are added in one transaction, and never to a catalogue that fails the check.\n"
                   "\n"
                   "\n"
                   "CSV may also be a Goodreads library export (CSV), a LibraryThing export\n"
                   "(tab-separated, CSV or JSON) or a Calibre catalogue (CSV); the format is\n"
                   "told from the file itself, or named with --from. Their columns are read by "
                   "name and mapped onto the book fields (see\n"
                   "docs/import-export.md); what has no field of its own (review, shelves, tags,\n"
                   "private notes, page count, ...) is kept, labelled, in the contents note.\n"
                   "Characters Windows-1252 lacks become their nearest plain form or \"?\", and\n"
                   "values longer than their field are cut where it ends; the report names each\n"
                   "book affected: \"line N: TITLE: 2 characters not representable\",\n"
                   "\"line N: TITLE: TITLE cut from 52 to 45 characters\".\n"
                   "\n"
                   "  --dry-run        read and check CSV and print the full report only; FILE\n"
                   "                   is not opened\n"
                   "  --from FORMAT    goodreads, librarything, calibre or quillery (the\n"
                   "                   catalogue's own CSV)\n"
                   "  --isbn13         store each ISBN-10 as its ISBN-13\n"
                   "\n"
                   "ISBNs lose their hyphens and spaces. A wrong check digit or length, and an\n"
                   "ISBN that a book of the catalogue (or an earlier row) already has, get a\n"
                   "report line; the entry is imported all the same.\n";
        case ToolCommand::kExport:
            return "Writes the current entries of the catalogue FILE as UTF-8 CSV with every "
                   "field\n"
                   "of the record, to CSV or to standard output. Importing the result into a new\n"
                   "catalogue gives the same entries byte for byte.\n"
                   "\n"
                   "  --to FORMAT  goodreads: a CSV in the columns of a Goodreads export, which\n"
                   "               Goodreads' importer takes; librarything: a tab-separated file\n"
                   "               for LibraryThing's importer; quillery: the catalogue's own\n"
                   "               CSV (the default). The contents note goes back into the\n"
                   "               columns its labelled parts came from (see\n"
                   "               docs/import-export.md).\n";
        case ToolCommand::kList:
            return "Lists the current entries of the catalogue FILE in the order of key NAME\n"
                   "(AUTHORKEY, TITLEKEYKEY, CATEGORYKEY, ...), one line each: title, a tab, and\n"
                   "the author as \"Last, First\".\n"
                   "\n"
                   "  --key NAME  the key to list by (case does not matter)\n"
                   "  --all       also list superseded versions, marked \"(superseded)\"\n";
        case ToolCommand::kCheck:
            return "Checks the catalogue FILE without changing it: the file's structure, every "
                   "key\n"
                   "entry against its record, and every count. Exit status 0 when it is sound, 1\n"
                   "with a report of each fault otherwise.\n";
        case ToolCommand::kRebuild:
            return "Builds every key of the catalogue FILE again from its records. Refuses, "
                   "writing\n"
                   "nothing, when the records themselves are damaged.\n";
        case ToolCommand::kInfo:
            return "Shows the catalogue FILE's record and key entry counts, its pages by size and\n"
                   "its size in bytes.\n";
        case ToolCommand::kPrint:
            return "Prints a listing of the catalogue FILE with the program's page layout, five\n"
                   "books to a page, without opening any window. NAME is one of author, title,\n"
                   "location, category, rating, condition, value, isbn, edition, pubdate,\n"
                   "buydate, printdate, other. Entries kept only for undo are left out, as are\n"
                   "books whose field of that listing is blank. The pages go to the default\n"
                   "printer unless --pdf names a file. On a terminal a progress line shows the\n"
                   "records read. A catalogue that cannot be opened is reported and nothing is\n"
                   "written.\n"
                   "\n"
                   "The PDF is written under a temporary name beside OUT.pdf and takes its name\n"
                   "only when the whole file was written; on any failure (a full disk, say)\n"
                   "nothing is left and an earlier OUT.pdf stays as it was. OUT.pdf may never be\n"
                   "the catalogue itself, and an existing file that is not a PDF is not replaced\n"
                   "unless --replace is given.\n"
                   "\n"
                   "--pages DIR writes page-0001.wmf, page-0002.wmf, ... into DIR, making it\n"
                   "when missing. Page files of an earlier run in DIR are all replaced, so DIR\n"
                   "holds this listing's pages alone; a DIR holding any other file is refused,\n"
                   "writing nothing. If the print fails, the pages it wrote into DIR are removed.\n"
                   "\n"
                   "Page images are made in a private folder inside TMPDIR, removed at the end,\n"
                   "on failure and when the print is interrupted (Ctrl+C, SIGTERM, SIGHUP).\n"
                   "\n"
                   "  --listing NAME  the listing to print\n"
                   "  --pdf OUT.pdf   write the pages to this PDF file instead of printing\n"
                   "  --replace       let the PDF replace OUT.pdf even if that is not a PDF\n"
                   "  --pages DIR     also keep the page image files in DIR (page-0001.wmf, ...)\n";
        case ToolCommand::kLookup:
            return "Looks each ISBN up in the book service (Open Library, or the address in\n"
                   "QUILLERY_LOOKUP_URL) and prints what it found: the title and author, then\n"
                   "the publish date, publishers and page count; or \"not found\". Exit status\n"
                   "0 when at least one book was found, 1 when none was, 3 when the service\n"
                   "could not be reached or gave an answer that cannot be read.\n";
        case ToolCommand::kAdd:
            return "Looks each ISBN up as lookup does and adds the books found to the catalogue\n"
                   "FILE in one transaction, with the report imports give (books not found,\n"
                   "ISBNs the catalogue already has). Their covers go to the folder beside FILE\n"
                   "(Books.covers/ISBN.jpg for Books.QLY). When the service cannot be reached,\n"
                   "nothing is written.\n"
                   "\n"
                   "  --isbn ISBN...  the books to add\n"
                   "  --isbn13        store an ISBN-10 as its ISBN-13\n";
    }
    return "";
}

}  // namespace

std::string commandUsage(ToolCommand command) {
    return std::string("usage: quillery-data ") + synopsis(command);
}

std::string commandHelp(ToolCommand command) {
    return commandUsage(command) + "\n\n" + description(command);
}

std::string toolHelp() {
    return "usage: quillery-data COMMAND [OPTIONS] FILE [CSV]\n"
           "\n"
           "Keeps a Quillery catalogue file from the command line.\n"
           "\n"
           "Commands:\n"
           "  create FILE                    create a new catalogue\n"
           "  import [--dry-run] [--from FORMAT] FILE [CSV]\n"
           "                                 add the entries of a CSV file or an export\n"
           "                                 of Goodreads or LibraryThing\n"
           "  export [--to FORMAT] FILE [CSV]\n"
           "                                 write the current entries as CSV, or for\n"
           "                                 Goodreads or LibraryThing\n"
           "  list --key NAME [--all] FILE   list titles and authors in a key's order\n"
           "  check FILE                     check the file and its keys\n"
           "  rebuild FILE                   build every key again\n"
           "  info FILE                      counts, pages and size\n"
           "  print --listing NAME [--pdf OUT.pdf [--replace]] [--pages DIR] FILE\n"
           "                                 print a listing, or write it as a PDF\n"
           "  lookup ISBN...                 look books up in the book service\n"
           "  add [--isbn13] --isbn ISBN... FILE\n"
           "                                 add books found by their ISBNs\n"
           "\n"
           "quillery-data help COMMAND (or COMMAND --help) tells more about a command.\n"
           "\n"
           "Exit status:\n"
           "  0  done; check: the catalogue is sound\n"
           "  1  check found faults; lookup found no book\n"
           "  2  the command line is wrong\n"
           "  3  a file could not be read or written, or its data was refused\n";
}

}  // namespace quillery::tools
