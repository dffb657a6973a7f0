// Saver selection table by model code and PC version word.
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
#include "export/save_file_thread_qel62xw.h"
#include "export/save_file_thread_qel649.h"
#include "foundations/model_identity.h"

namespace qel {

TSaveFileThreadClass GetSaveFileThreadClass(std::uint16_t ID_CLASS, std::uint16_t ID_VER_PC)
{
    switch (ID_CLASS) {
    case 0x6601:
        return ID_VER_PC < MakeVersion(6, 0) ? &TSaveFileThreadQEL629::ClassInfo : &TSaveFileThreadQEL629c::ClassInfo;
    case 0x6606:
    case 0x6607:
        return &TSaveFileThreadQEL649::ClassInfo;
    case 0x6615:
        return &TSaveFileThreadQEL539c::ClassInfo;
    case 0x6616:
        return &TSaveFileThreadQEL51::ClassInfo;
    case 0x6617:
        return &TSaveFileThreadQEL62xW::ClassInfo;
    case 0x6619:
        return &TSaveFileThreadQEL624c::ClassInfo;
    case 0x661D:
        if (ID_VER_PC < MakeVersion(2, 0)) {
            return &TSaveFileThreadQEL57::ClassInfo;
        }
        return ID_VER_PC < MakeVersion(3, 0) ? &TSaveFileThreadQEL57b::ClassInfo : &TSaveFileThreadQEL57c::ClassInfo;
    case 0x6621:
        return ID_VER_PC < MakeVersion(2, 0) ? &TSaveFileThreadQEL621WD::ClassInfo
                                             : &TSaveFileThreadQEL621WxD::ClassInfo;
    case 0x6626:
        return &TSaveFileThreadQEL28::ClassInfo;
    case 0x6628:
        return &TSaveFileThreadQEL25::ClassInfo;
    default:
        return &TSaveFileThread::ClassInfo;
    }
}

} // namespace qel
