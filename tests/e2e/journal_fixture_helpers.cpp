#ifdef _WIN32

#include "journal_fixture.h"

void JournalTest::SetUp()
{
    journal.folder = journal_new_folder();
    ASSERT_FALSE(journal.folder.empty());
}

void JournalTest::TearDown()
{
    journal_stop(journal);
    journal_remove_folder(journal.folder);
}

std::wstring JournalTest::note_path(const std::wstring& name) const
{
    return journal.folder + L"quietnotes\\" + name;
}

std::wstring JournalTest::story_path(const std::wstring& name) const
{
    return journal.folder + L"quietstory\\" + name;
}

#endif
