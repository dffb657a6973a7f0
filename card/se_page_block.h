// SE page blocks of the QEL28 pages: the model block that carries one 1024-byte
// page of a job; each block read becomes an entry of SEPageList.
#pragma once

namespace qel {

class TPageReader;

// SE page block, 1036 bytes (little endian):
//   0       tag 0xC0-0xDF
//   1       not used
//   2-5     job number
//   6       order
//   7       page number
//   8-11    index
//   12-1035 the SE page's data bytes
//
// Reads the block whose tag byte the reader has just consumed and appends
// its SE page to SEPageList: with its data when all 1024 bytes lie in the
// page, without them otherwise. A head cut off by the end of the page adds
// nothing. A block always ends its page.
void ReadSEPageBlock(TPageReader& in);

} // namespace qel
