// A buffer folder inside a fresh temporary documents folder, for tests of
// the sample buffers that spill to files.
#pragma once

#include "card/temp_folder.h"
#include "platform/known_folders.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace qeltest {

class BufferFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetDocumentsFolder(FDocuments.File("Documents"));
        plat::SetProgramPath("/opt/qel/bin/reader.exe");
        ASSERT_TRUE(qel::InitTempFolder());
    }
    void TearDown() override
    {
        qel::ClearTempFolder();
        plat::SetDocumentsFolder("");
        plat::SetProgramPath("");
    }

    TempDir FDocuments;
};

} // namespace qeltest
