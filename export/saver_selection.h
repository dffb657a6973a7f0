// Choice of the per-model saver for a logger's model code and PC version word.
#pragma once

#include "export/save_file_thread.h"

#include <cstdint>

namespace qel {

// The saver class of the model code and PC version word (compared unsigned):
// 0x6601 below 6.00 TSaveFileThreadQEL629, from 6.00 TSaveFileThreadQEL629c;
// 0x6606 and 0x6607 TSaveFileThreadQEL649; 0x6615 TSaveFileThreadQEL539c;
// 0x6616 TSaveFileThreadQEL51; 0x6617 TSaveFileThreadQEL62xW; 0x6619
// TSaveFileThreadQEL624c; 0x661D below 2.00 TSaveFileThreadQEL57, 2.00 up to
// below 3.00 TSaveFileThreadQEL57b, from 3.00 TSaveFileThreadQEL57c; 0x6621
// below 2.00 TSaveFileThreadQEL621WD, from 2.00 TSaveFileThreadQEL621WxD;
// 0x6626 TSaveFileThreadQEL28; 0x6628 TSaveFileThreadQEL25; any other code
// the base TSaveFileThread (block 0, no header blocks, the data rows).
TSaveFileThreadClass GetSaveFileThreadClass(std::uint16_t ID_CLASS, std::uint16_t ID_VER_PC);

} // namespace qel
