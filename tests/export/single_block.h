// The payload of a block that a block-file part must hold exactly once, for
// the per-model saver tests.
#pragma once

#include "tests/export/block_file_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace qeltest {

// An empty payload, and a test failure, when the block is missing or repeated.
inline std::vector<std::uint8_t> SingleBlock(const BlockFileContent& content, std::uint16_t type)
{
    const std::vector<std::uint8_t>* found = nullptr;
    for (const BlockRecord& block : content.blocks) {
        if (block.type == type) {
            EXPECT_EQ(found, nullptr) << "block " << type << " twice";
            found = &block.payload;
        }
    }
    EXPECT_NE(found, nullptr) << "block " << type << " missing";
    return found != nullptr ? *found : std::vector<std::uint8_t>{};
}

} // namespace qeltest
