// The main window's dispatch table: which command each control's event asks for.
#include "app/window/main_window_commands.h"

#include "app/window/main_window_layout.h"

namespace quillery {

namespace W = displayquillery;

namespace {

bool isReport(int field) {
    return field >= W::AUTHORREPORT && field <= W::OTHERREPORT;
}

bool isEntryField(int field) {
    switch (field) {
        case W::QLY_LASTNAME:
        case W::QLY_FIRSTNAME:
        case W::QLY_TITLE:
        case W::QLY_CATEGORY:
        case W::QLY_RATING:
        case W::QLY_ISBN:
        case W::QLY_CONDITION:
        case W::QLY_PUBDATE:
        case W::QLY_OTHER:
        case W::QLY_LOCATION:
        case W::QLY_BUYDATE:
        case W::QLY_EDITION:
        case W::QLY_VALUE:
        case W::QLY_PRINTDATE:
            return true;
        default:
            return false;
    }
}

MainCommand acceptedCommand(int field) {
    if (isReport(field)) return MainCommand::Report;
    // An entry field whose contents were changed: the field may have had the focus since before
    // the entry was shown, so that no selection announced the edit.
    if (isEntryField(field)) return MainCommand::EditField;
    switch (field) {
        case W::AWARDS:
            return MainCommand::OpenExample;
        case W::FILENEW:
            return MainCommand::NewFile;
        case W::FILEOPEN:
            return MainCommand::OpenFile;
        case W::FILESAVEAS:
            return MainCommand::SaveFileAs;
        case W::FILEIMPORT:
            return MainCommand::ImportBooks;
        case W::FILEEXPORT:
            return MainCommand::ExportBooks;
        case W::FILEEXIT:
            return MainCommand::Exit;
        case W::BOOKNEW:
        case W::NEW:
            return MainCommand::NewEntry;
        case W::BOOKDUPLICATE:
        case W::DUPLICATE:
            return MainCommand::DuplicateEntry;
        case W::BOOKDELETE:
        case W::DELETE:
            return MainCommand::DeleteEntry;
        case W::BOOKSAVE:
        case W::SAVE:
            return MainCommand::SaveEntry;
        case W::BOOKUNDO:
        case W::UNDO:
            return MainCommand::Undo;
        case W::BOOKFIND:
        case W::FIND:
            return MainCommand::Find;
        case W::BOOKLOOKUP:
        case W::LOOKUP:
            return MainCommand::LookUp;
        case W::BOOKCOVER:
            return MainCommand::ChooseCover;
        case W::HELPABOUT:
            return MainCommand::About;
        case W::COMMENT:
            return MainCommand::Comment;
        case W::LISTBYTITLE:
            return MainCommand::ListByTitle;
        case W::LETTER:
            return MainCommand::JumpToLetter;
        case W::FILTERBOX:
            return MainCommand::FilterList;
        default:
            return MainCommand::None;
    }
}

}  // namespace

MainCommand commandOf(EventCode event, int field) {
    switch (event) {
        case EVENT::Accepted:
            return acceptedCommand(field);
        case EVENT::NewSelection:
            if (field == W::SHEET) return MainCommand::ChooseTab;
            if (field == W::BOOKLIST) return MainCommand::ChooseEntry;
            if (field == W::FILTERBOX) return MainCommand::FilterList;
            return MainCommand::None;
        case EVENT::AlertKey:
            return field == W::BOOKLIST ? MainCommand::ListKey : MainCommand::ListToolKey;
        case EVENT::HeaderPressed:
            return field == W::BOOKLIST ? MainCommand::ListHeading : MainCommand::None;
        case EVENT::Selected:
            return isEntryField(field) ? MainCommand::EditField : MainCommand::None;
        default:
            return MainCommand::None;
    }
}

std::string_view commandName(MainCommand command) {
    switch (command) {
        case MainCommand::None:
            return "None";
        case MainCommand::OpenExample:
            return "OpenExample";
        case MainCommand::NewFile:
            return "NewFile";
        case MainCommand::OpenFile:
            return "OpenFile";
        case MainCommand::SaveFileAs:
            return "SaveFileAs";
        case MainCommand::ImportBooks:
            return "ImportBooks";
        case MainCommand::ExportBooks:
            return "ExportBooks";
        case MainCommand::Exit:
            return "Exit";
        case MainCommand::NewEntry:
            return "NewEntry";
        case MainCommand::DuplicateEntry:
            return "DuplicateEntry";
        case MainCommand::DeleteEntry:
            return "DeleteEntry";
        case MainCommand::SaveEntry:
            return "SaveEntry";
        case MainCommand::Undo:
            return "Undo";
        case MainCommand::Find:
            return "Find";
        case MainCommand::LookUp:
            return "LookUp";
        case MainCommand::ChooseCover:
            return "ChooseCover";
        case MainCommand::Report:
            return "Report";
        case MainCommand::About:
            return "About";
        case MainCommand::Comment:
            return "Comment";
        case MainCommand::ListByTitle:
            return "ListByTitle";
        case MainCommand::ChooseTab:
            return "ChooseTab";
        case MainCommand::JumpToLetter:
            return "JumpToLetter";
        case MainCommand::ChooseEntry:
            return "ChooseEntry";
        case MainCommand::ListKey:
            return "ListKey";
        case MainCommand::EditField:
            return "EditField";
        case MainCommand::ListHeading:
            return "ListHeading";
        case MainCommand::FilterList:
            return "FilterList";
        case MainCommand::ListToolKey:
            return "ListToolKey";
    }
    return "";
}

}  // namespace quillery
