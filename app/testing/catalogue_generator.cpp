// Made-up but plausible book entries: names with the accents a real shelf has, titles from
// common patterns, free-text dates, values and contents notes of every length.
#include "app/testing/catalogue_generator.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <initializer_list>

#include "app/build_keys.h"
#include "runtime/codepage.h"
#include "runtime/dates.h"

namespace quillery {

namespace {

using Table = std::vector<std::string>;

// The texts are written here in UTF-8 and kept in Windows-1252, the records' character set.
Table cp1252Table(std::initializer_list<const char*> utf8) {
    Table table;
    for (const char* text : utf8)
        table.push_back(utf8ToCp1252(text));
    return table;
}

struct Vocabulary {
    Table lastNames = cp1252Table({
        "Abbott",       "Achebe",      "Adams",     "Allende",    "Asimov",         "Atwood",
        "Austen",       "Baldwin",     "Brontë",    "Bulgakov",   "Calvino",        "Camus",
        "Carver",       "Cather",      "Chandler",  "Christie",   "Dickens",        "Dostoevsky",
        "Duras",        "Eliot",       "Faulkner",  "Fitzgerald", "García Márquez", "Gaskell",
        "Grass",        "Greene",      "Hardy",     "Hesse",      "Ibáñez",         "Ishiguro",
        "James",        "Kafka",       "Kundera",   "Lagerlöf",   "Le Guin",        "Lessing",
        "Mann",         "McCarthy",    "Melville",  "Morrison",   "Müller",         "Murakami",
        "Nabokov",      "O'Brien",     "O'Connor",  "Orwell",     "Pérez-Reverte",  "Proust",
        "Rhys",         "Roth",        "Saramago",  "Sebald",     "Shelley",        "Šimek",
        "Smith",        "Søndergaard", "Steinbeck", "Tolkien",    "Tolstoy",        "Undset",
        "Vargas Llosa", "Verne",       "Walker",    "Wharton",    "Woolf",          "Yourcenar",
        "Zola",
    });
    Table firstNames = cp1252Table({
        "Agatha", "Albert",   "Alice",      "Anne",  "Benoît", "Charles",  "Chloé",   "Chinua",
        "Doris",  "Edith",    "Elena",      "Émile", "Ernest", "François", "Gabriel", "George",
        "Günter", "Hermann",  "Isabel",     "Italo", "Jane",   "Jean-Luc", "José",    "Kazuo",
        "Leo",    "Margaret", "Marguerite", "Mary",  "Miguel", "Milan",    "Mikhail", "Nora",
        "Orhan",  "Paul",     "Raymond",    "Selma", "Sigrid", "Søren",    "Thomas",  "Toni",
        "Ursula", "Virginia", "W. G.",      "Willa", "Zoë",    "",
    });
    Table adjectives = cp1252Table({
        "Silent",
        "Long",
        "Hidden",
        "Last",
        "Broken",
        "Golden",
        "Winter",
        "Lost",
        "Distant",
        "Crimson",
        "Quiet",
        "Secret",
        "Burning",
        "Northern",
        "Invisible",
        "Wandering",
    });
    Table nouns = cp1252Table({
        "River", "House",      "Garden", "Harbour", "Orchard", "Mountain", "Letters",  "Island",
        "Widow", "Lighthouse", "Summer", "Empire",  "Voyage",  "Shadow",   "Kingdom",  "Clock",
        "Sea",   "Mirror",     "Road",   "Café",    "Storm",   "Archive",  "Daughter", "Forest",
    });
    Table places = cp1252Table({
        "Lisbon",
        "Prague",
        "Zürich",
        "Montréal",
        "Kyoto",
        "Lagos",
        "Oslo",
        "Sevilla",
        "Dublin",
        "Kraków",
        "Salzburg",
        "Valparaíso",
    });
    Table categories = cp1252Table({
        "Fiction",
        "Mystery",
        "Science Fiction",
        "History",
        "Biography",
        "Poetry",
        "Children's Books",
        "Travel",
        "Reference",
        "Cookery",
        "Classics",
    });
    Table conditions = cp1252Table({
        "As New",
        "Fine",
        "Very Good",
        "Good",
        "Fair",
        "Poor",
        "Reading copy",
        "Ex-library",
    });
    Table locations = cp1252Table({
        "Study shelf 1",
        "Study shelf 2",
        "Study shelf 3",
        "Living room",
        "Bedroom",
        "Hall bookcase",
        "Attic box 3",
        "Attic box 7",
        "Loaned to Anna",
        "Kitchen",
        "Office, desk",
        "Guest room",
    });
    Table editions = cp1252Table({
        "First",
        "Second",
        "Third",
        "Book club",
        "Paperback",
        "Limited",
        "Reprint",
        "3rd printing",
        "Facsimile",
        "Trade paperback",
    });
    Table others = cp1252Table({
        "Signed",
        "Gift from Mum",
        "Dust jacket",
        "Inscribed",
        "Pulitzer 1961",
        "Booker 1989",
        "Read twice",
        "Needs rebinding",
        "Bookplate",
        "Slipcase",
        "Annotated",
        "Boxed set",
    });
    Table months = cp1252Table({
        "January",
        "February",
        "March",
        "April",
        "May",
        "June",
        "July",
        "August",
        "September",
        "October",
        "November",
        "December",
    });
    Table sentences = cp1252Table({
        "A fine copy with a clean text block.",
        "Bought at a library sale, stamped on the endpapers.",
        "The dust jacket is chipped at the spine ends, otherwise \"very good\".",
        "Contains a map, a family tree and an index of places.",
        "Previous owner's name in ink; light foxing, as usual for the paper.",
        "Recommended by the reading group; we discussed chapters 3, 7 and 12.",
        "A note on the flyleaf reads: \"For Ida, who waited\".",
        "Translated from the French; the translator's preface is worth reading.",
        "Some pages are uncut.",
        "Illustrated with woodcuts, 24 plates in all.",
        "The ending differs from the serial version.",
        "Café receipt used as a bookmark, 12 € — left where it was.",
        "Spine faded; boards square; hinges tight.",
        "Second volume of three; the others are on the same shelf.",
    });
};

const Vocabulary& vocabulary() {
    static const Vocabulary words;
    return words;
}

constexpr std::int32_t kHundredthsPerDay = 8640000;

std::string plural(const std::string& noun) {
    return noun.ends_with('s') ? noun : noun + "s";
}

}  // namespace

CatalogueGenerator::CatalogueGenerator(std::uint64_t seed)
    : state_(seed), day_(dayNumberOf(1996, 1, 1)), time_(9 * 360000 + 1) {}

// splitmix64: small, fast and the same on every platform.
std::uint64_t CatalogueGenerator::random() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::size_t CatalogueGenerator::below(std::size_t n) {
    return static_cast<std::size_t>(random() % n);
}

bool CatalogueGenerator::chance(unsigned percent) {
    return below(100) < percent;
}

template <typename T>
const std::string& CatalogueGenerator::pick(const T& table) {
    return table[below(table.size())];
}

void CatalogueGenerator::advanceClock() {
    // Entries are typed in sittings: minutes apart, with days between sittings.
    // One draw per statement, so the seed fixes the sequence whatever the compiler.
    const auto minutes = static_cast<std::int32_t>(1 + below(40));
    time_ += minutes * 6000 + static_cast<std::int32_t>(below(6000));
    if (chance(20) || time_ > kHundredthsPerDay) {
        day_ += static_cast<std::int32_t>(1 + below(5));
        const auto hour = static_cast<std::int32_t>(8 + below(12));
        time_ = hour * 360000 + 1 + static_cast<std::int32_t>(below(360000));
    }
    day_ = std::min(day_, kLastDayNumber);
}

// Each word is drawn in a statement of its own: the order of the draws must not be left to
// the order in which a compiler evaluates operands, or the same seed could give other titles.
std::string CatalogueGenerator::makeTitle() {
    const Vocabulary& w = vocabulary();
    const std::size_t pattern = below(7);
    const std::string& adjective = pick(w.adjectives);
    const std::string& noun = pick(w.nouns);
    const std::string& other = pick(w.nouns);
    const std::string& third = pick(w.nouns);
    const std::string& place = pick(w.places);
    const std::size_t year = 1900 + below(120);
    switch (pattern) {
        case 0:
            return "The " + adjective + " " + noun;
        case 1:
            return "The " + noun + " of " + place;
        case 2:
            return adjective + " " + plural(noun);
        case 3:
            return "A " + noun + " in " + place;
        case 4:
            return noun + ", " + other + " and " + third;
        case 5:
            return "Letters from " + place + ", " + std::to_string(year);
        default:
            return "The " + adjective + " " + noun + ": A Novel";
    }
}

std::string CatalogueGenerator::makeIsbn() {
    if (chance(15)) return {};
    std::string isbn = chance(60) ? "978" : "";
    const std::size_t length = isbn.empty() ? 10 : 13;
    while (isbn.size() < length)
        isbn.push_back(static_cast<char>('0' + below(10)));
    if (length == 10 && chance(10)) isbn.back() = 'X';
    return isbn;
}

std::string CatalogueGenerator::makeBuyDate(int year) {
    switch (below(4)) {
        case 0:
            return {};
        case 1:
            return (below(2) ? "Spring " : "Autumn ") + std::to_string(year);
        default: {
            const std::size_t month = 1 + below(12);
            const std::size_t day = 1 + below(28);
            char text[16];
            std::snprintf(text, sizeof text, "%02zu/%02zu/%d", month, day, year);
            return text;
        }
    }
}

std::string CatalogueGenerator::makeContents(const QuilleryRecord& entry) {
    // A third have no note; the rest run to any length up to the field's 1000 characters.
    if (chance(33)) return {};
    const std::size_t target = chance(10) ? 1000 : 20 + below(900);
    const Vocabulary& w = vocabulary();
    std::string text = std::string(entry.TITLE.clipped()) + ".";
    const std::string* last = nullptr;
    while (text.size() < target) {
        const std::string* sentence = &pick(w.sentences);
        if (sentence == last) continue;  // nobody writes the same sentence twice running
        text += chance(15) ? "\r\n" : " ";
        text += *sentence;
        last = sentence;
    }
    text.resize(target);
    return text;
}

QuilleryRecord CatalogueGenerator::makeEntry() {
    const Vocabulary& w = vocabulary();
    QuilleryRecord entry;
    entry.LASTNAME = pick(w.lastNames);
    entry.FIRSTNAME = pick(w.firstNames);
    entry.TITLE = makeTitle();
    entry.CATEGORY = pick(w.categories);
    entry.RATING = chance(10) ? std::string() : std::string(1, static_cast<char>('A' + below(5)));
    entry.ISBN = makeIsbn();
    entry.CONDITION = pick(w.conditions);
    entry.LOCATION = pick(w.locations);
    entry.EDITION = chance(20) ? std::string() : pick(w.editions);

    const int published = static_cast<int>(1850 + below(175));
    entry.PUBDATE =
        chance(25) ? pick(w.months) + " " + std::to_string(published) : std::to_string(published);
    entry.PRINTDATE = chance(30) ? std::string() : std::to_string(published + below(3));
    entry.BUYDATE = makeBuyDate(std::max(published, static_cast<int>(1970 + below(55))));

    const std::size_t dollars = 1 + below(250);
    const std::size_t cents = below(4) * 25;
    char value[16];
    std::snprintf(value, sizeof value, "$%zu.%02zu", dollars, cents);
    entry.VALUE = chance(15) ? std::string() : std::string(value);
    entry.OTHER = chance(60) ? std::string() : pick(w.others);
    entry.CONTENTS = makeContents(entry);

    advanceClock();
    entry.setCREATED({day_, time_});
    entry.setCHANGED({day_, time_});
    BUILDKEYS(entry);
    return entry;
}

QuilleryRecord CatalogueGenerator::next() {
    if (havePending_) {
        havePending_ = false;
        return pending_;
    }
    QuilleryRecord entry = makeEntry();
    if (!chance(6)) return entry;

    // An edited entry: the version before the edit stays behind marked deleted.
    QuilleryRecord superseded = entry;
    superseded.DELETED = 1;
    superseded.CONDITION = pick(vocabulary().conditions);
    superseded.VALUE = chance(50) ? std::string() : std::string("$10.00");
    advanceClock();
    entry.setCHANGED({day_, time_});
    pending_ = entry;
    havePending_ = true;
    return superseded;
}

std::vector<QuilleryRecord> generateCatalogue(std::size_t count, std::uint64_t seed) {
    CatalogueGenerator generator(seed);
    std::vector<QuilleryRecord> records;
    records.reserve(count);
    while (records.size() < count)
        records.push_back(generator.next());
    return records;
}

}  // namespace quillery
