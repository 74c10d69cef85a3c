// The manager's choice of icons to read, without a window: each file once
// per image list, the stand-in until its image is in, results of an earlier
// image list or of files not asked for dropped, and the rows to draw again.
#include <gtest/gtest.h>

#include <vector>

#include "app/ui/RowIconBook.h"
#include "app/ui/RunListModel.h"

namespace {

using velmora::app::IconFileOf;
using velmora::app::kStandInImage;
using velmora::app::RowIconBook;
using velmora::app::RunListModel;

RunEntry EntryAt(const char16_t* target, bool broken = false) {
    RunEntry entry;
    entry.command = u"x";
    entry.keyPath = u"x.exe";
    entry.target = target;
    entry.broken = broken;
    return entry;
}

TEST(RowIconBookTest, EachFileIsReadOnceAndShowsTheStandInUntilItsImageIsIn) {
    RowIconBook book;
    const unsigned generation = book.Generation();
    bool read = false;
    EXPECT_EQ(book.ImageOf(u"C:\\Tools\\Ed.exe", &read), kStandInImage);
    EXPECT_TRUE(read);
    // Asked again while being read, in another letter case: no second read.
    EXPECT_EQ(book.ImageOf(u"c:\\tools\\ED.EXE", &read), kStandInImage);
    EXPECT_FALSE(read);
    EXPECT_EQ(book.ImageOf(u"C:\\other.exe", &read), kStandInImage);
    EXPECT_TRUE(read);
    EXPECT_EQ(book.ImageOf(u"", &read), kStandInImage) << "no file, nothing to read";
    EXPECT_FALSE(read);
    EXPECT_EQ(book.Pending(), 2u);

    EXPECT_TRUE(book.Record(generation, u"C:\\TOOLS\\ed.exe", 3));
    EXPECT_EQ(book.ImageOf(u"C:\\Tools\\Ed.exe", &read), 3);
    EXPECT_FALSE(read);
    // A file without an icon keeps the stand-in, and is not read again.
    EXPECT_TRUE(book.Record(generation, u"C:\\other.exe", -1));
    EXPECT_EQ(book.ImageOf(u"C:\\other.exe", &read), kStandInImage);
    EXPECT_FALSE(read);
    EXPECT_EQ(book.Pending(), 0u);
}

TEST(RowIconBookTest, ResultsNotAwaitedAreDropped) {
    RowIconBook book;
    const unsigned first = book.Generation();
    bool read = false;
    book.ImageOf(u"C:\\a.exe", &read);
    EXPECT_FALSE(book.Record(first, u"C:\\never-asked.exe", 5));
    EXPECT_FALSE(book.Awaits(first + 1, u"C:\\a.exe")) << "a generation not begun";
    EXPECT_TRUE(book.Record(first, u"C:\\a.exe", 1));
    EXPECT_FALSE(book.Record(first, u"C:\\A.exe", 2)) << "a second result for one file";
    EXPECT_EQ(book.ImageOf(u"C:\\a.exe", &read), 1);

    // A new image list: the file is read again, and the result of the read
    // begun for the old list does not enter the new one.
    book.ImageOf(u"C:\\b.exe", &read);
    const unsigned second = book.Restart();
    EXPECT_NE(second, first);
    EXPECT_EQ(book.Pending(), 0u);
    EXPECT_EQ(book.ImageOf(u"C:\\a.exe", &read), kStandInImage);
    EXPECT_TRUE(read);
    EXPECT_FALSE(book.Record(first, u"C:\\a.exe", 4));
    EXPECT_FALSE(book.Record(first, u"C:\\b.exe", 4));
    EXPECT_EQ(book.Pending(), 1u);
    EXPECT_TRUE(book.Record(second, u"C:\\a.exe", 1));
    EXPECT_EQ(book.ImageOf(u"C:\\a.exe", &read), 1);
}

TEST(RowIconBookTest, TheIconFileOfAnEntry) {
    const struct {
        const char16_t* target;
        bool broken;
        const char16_t* file;
    } cases[] = {
        {u"C:\\Tools\\ed.exe", false, u"C:\\Tools\\ed.exe"},
        {u"  \"C:\\Program Files\\ed.exe\" /s", false, u"C:\\Program Files\\ed.exe"},
        {u"%SystemRoot%\\notepad.exe", false, u"%SystemRoot%\\notepad.exe"},  // expanded by the reader
        {u"C:\\gone\\ed.exe", true, u""},
        {u"", false, u""},
    };
    for (const auto& c : cases) EXPECT_EQ(IconFileOf(EntryAt(c.target, c.broken)), CStringW(c.file));
}

TEST(RowIconBookTest, TheRowsToDrawAgainAreTheShownOnesOfThatFile) {
    std::vector<RunEntry> entries = {
        EntryAt(u"C:\\a.exe"),       EntryAt(u"C:\\b.exe"), EntryAt(u"\"c:\\A.EXE\" -x"),
        EntryAt(u"C:\\a.exe", true), EntryAt(u"C:\\a.exe"),
    };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].command = u"r";
        entries[i].command += static_cast<char16_t>(u'0' + i);
    }
    RunListModel rows;
    rows.SetListing(entries, 0, false);
    const struct {
        const char16_t* typed;  // the filter: the rows are not the entries' places
        int first, count;
        const char16_t* file;
        std::vector<int> rows;
    } cases[] = {
        {u"", 0, 5, u"C:\\a.exe", {0, 2, 4}},  // not the broken row
        {u"", 1, 3, u"C:\\a.exe", {2}},
        {u"", -2, 100, u"C:\\b.exe", {1}},  // clipped
        {u"", 5, 10, u"C:\\a.exe", {}},
        {u"", 0, 5, u"", {}},
        // Shown: r0, r2, r3 (broken), r4.
        {u"a.exe", 0, 4, u"c:\\A.exe", {0, 1, 3}},
        {u"a.exe", 1, 2, u"C:\\a.exe", {1}},
        {u"a.exe", 0, 4, u"C:\\b.exe", {}},
    };
    for (const auto& c : cases) {
        rows.Filter(c.typed);
        EXPECT_EQ(rows.RowsShowingIconOf(c.first, c.count, c.file), c.rows)
            << c.first << "+" << c.count << " of " << rows.RowCount();
    }
}

}  // namespace
