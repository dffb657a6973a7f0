// Saver selection by model code and PC version word.
#include "export/saver_selection.h"

#include "export/save_file_thread_qel25.h"
#include "export/save_file_thread_qel28.h"
#include "export/save_file_thread_qel51.h"
#include "export/save_file_thread_qel539c.h"
#include "export/save_file_thread_qel57.h"
#include "export/save_file_thread_qel621wd.h"
#include "export/save_file_thread_qel624c.h"
#include "export/save_file_thread_qel629.h"
#include "export/save_file_thread_qel629c.h"
#include "export/save_file_thread_qel649.h"
#include "export/save_file_thread_qel62xw.h"

#include <gtest/gtest.h>

namespace {

TEST(SaverSelection, ModelCodeAndVersionWordChooseTheSaver)
{
    struct Case {
        std::uint16_t code;
        std::uint16_t version;
        qel::TSaveFileThreadClass expected;
    };
    const std::vector<Case> cases = {
        {0x6601, 0x0000, &qel::TSaveFileThreadQEL629::ClassInfo},
        {0x6601, 0x05FF, &qel::TSaveFileThreadQEL629::ClassInfo},
        {0x6601, 0x0600, &qel::TSaveFileThreadQEL629c::ClassInfo},
        {0x6601, 0xFFFF, &qel::TSaveFileThreadQEL629c::ClassInfo},
        {0x6606, 0x0100, &qel::TSaveFileThreadQEL649::ClassInfo},
        {0x6607, 0xFFFF, &qel::TSaveFileThreadQEL649::ClassInfo},
        {0x6615, 0x0000, &qel::TSaveFileThreadQEL539c::ClassInfo},
        {0x6615, 0xFFFF, &qel::TSaveFileThreadQEL539c::ClassInfo},
        {0x6616, 0x0000, &qel::TSaveFileThreadQEL51::ClassInfo},
        {0x6616, 0xFFFF, &qel::TSaveFileThreadQEL51::ClassInfo},
        {0x6617, 0x0000, &qel::TSaveFileThreadQEL62xW::ClassInfo},
        {0x6617, 0xFFFF, &qel::TSaveFileThreadQEL62xW::ClassInfo},
        {0x6619, 0x0000, &qel::TSaveFileThreadQEL624c::ClassInfo},
        {0x6619, 0xFFFF, &qel::TSaveFileThreadQEL624c::ClassInfo},
        {0x661D, 0x01FF, &qel::TSaveFileThreadQEL57::ClassInfo},
        {0x661D, 0x0200, &qel::TSaveFileThreadQEL57b::ClassInfo},
        {0x661D, 0x02FF, &qel::TSaveFileThreadQEL57b::ClassInfo},
        {0x661D, 0x0300, &qel::TSaveFileThreadQEL57c::ClassInfo},
        {0x661D, 0x8000, &qel::TSaveFileThreadQEL57c::ClassInfo},
        {0x6621, 0x0000, &qel::TSaveFileThreadQEL621WD::ClassInfo},
        {0x6621, 0x01FF, &qel::TSaveFileThreadQEL621WD::ClassInfo},
        {0x6621, 0x0200, &qel::TSaveFileThreadQEL621WxD::ClassInfo},
        {0x6621, 0xFFFF, &qel::TSaveFileThreadQEL621WxD::ClassInfo},
        {0x6626, 0x0000, &qel::TSaveFileThreadQEL28::ClassInfo},
        {0x6626, 0xFFFF, &qel::TSaveFileThreadQEL28::ClassInfo},
        {0x6628, 0x0000, &qel::TSaveFileThreadQEL25::ClassInfo},
        {0x6600, 0x0100, &qel::TSaveFileThread::ClassInfo},
        {0x0000, 0x0000, &qel::TSaveFileThread::ClassInfo},
    };
    for (const Case& c : cases) {
        const qel::TSaveFileThreadClass chosen = qel::GetSaveFileThreadClass(c.code, c.version);
        EXPECT_EQ(chosen, c.expected) << std::hex << c.code << " " << c.version << ": " << chosen->ClassName;
    }
}

} // namespace
