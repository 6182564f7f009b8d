// The fixture of the end-to-end tests that drive one journal. Windows only.
#pragma once

#ifdef _WIN32

#include "journal_helpers.h"

#include <gtest/gtest.h>

#include <string>

// One journal in a fresh folder for each test, stopped and its folder removed after it.
class JournalTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A file of the journal's notes folder or story folder.
    std::wstring note_path(const std::wstring& name) const;
    std::wstring story_path(const std::wstring& name) const;

    Journal journal;
};

#endif
