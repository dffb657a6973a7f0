// The block file (".qel", and the shock file ".qshock"): one zlib stream whose
// content is a sequence of typed blocks. Writer of the savers, and a reader.
#pragma once

#include "platform/streams.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace plat {
class TAtomicFileStream;
}

namespace qel {

// Block types. Each block is Word type, Word payload length, payload; numbers
// little endian, strings as a Word byte count and Windows-1252 bytes.
constexpr std::uint16_t BLOCK_HEADER = 0;           // magic, Word 1, Word 0
constexpr std::uint16_t BLOCK_PROGRAM = 1;          // program name, Word major, Word minor
constexpr std::uint16_t BLOCK_FIRST_TIME = 2;       // Double: days since 2000 of the part's first time
constexpr std::uint16_t BLOCK_LOGGER_NAMES = 3;     // per channel: String
constexpr std::uint16_t BLOCK_LOGGER_IDENTITY = 5;  // per channel: Word model code, Word version
constexpr std::uint16_t BLOCK_CHANNEL_NAMES = 6;    // per channel: String
constexpr std::uint16_t BLOCK_CHANNEL_UNITS = 7;    // per channel: String
constexpr std::uint16_t BLOCK_ROWS = 8;             // rows: Double days since the first time, Single per channel
constexpr std::uint16_t BLOCK_LIMITS = 11;          // per channel: Word, Word, Single, Single
constexpr std::uint16_t BLOCK_CALIBRATION = 12;     // per channel: Word, String, Double, 4 Single
constexpr std::uint16_t BLOCK_STORED_NAMES = 13;    // per channel: String
constexpr std::uint16_t BLOCK_EDITION = 14;         // edition record; never written
constexpr std::uint16_t BLOCK_TIME_DIFFERENCE = 15; // per channel: Double
constexpr std::uint16_t BLOCK_PROGRAM_TEXT = 20;    // program name, version text
constexpr std::uint16_t BLOCK_UTC = 25;             // per channel: Word flag, Double offset in days
constexpr std::uint16_t BLOCK_CHANNEL_IDENTITY = 26; // Word layout version, then entries
constexpr std::uint16_t BLOCK_MISSION = 27;         // the logger's mission record
constexpr std::uint16_t BLOCK_FIFO = 28;            // records: Longint, Word, Word, Single

// Row and record blocks are closed after the entry that takes the payload
// past this size, so each holds whole entries.
constexpr std::int64_t BLOCK_PAYLOAD_TARGET = 10000;
// The length field holds 16 bits; a larger payload is an error, never cut.
constexpr std::int64_t BLOCK_PAYLOAD_MAX = 0xFFFF;

inline const std::string DATA_FILE_MAGIC = "TORVANDIX";
inline const std::string DATA_FILE_MAGIC_INTERN = "VELSTRADO"; // accepted in the internal mode only

// One block file, opened either to write (CreateSave) or to read (CreateLoad).
//
// Writing goes to a temporary file beside the target: Commit completes the
// zlib stream and renames the file over the target; a file destroyed without
// Commit (an error, a cancelled save) is removed, and an existing file of
// that name stays as it was. The blocks are gathered into chunks that
// worker threads of the file compress while the writer goes on; memory holds
// the block payload and a bounded ring of chunks (a few MiB).
class TDataFile {
public:
    // Creates the file and writes block 0. Raises plat::EFCreateError when the
    // file cannot be created.
    static std::unique_ptr<TDataFile> CreateSave(const std::string& sFileName);
    // Opens the file for reading. Raises plat::EFOpenError.
    static std::unique_ptr<TDataFile> CreateLoad(const std::string& sFileName);

    ~TDataFile();
    TDataFile(const TDataFile&) = delete;
    TDataFile& operator=(const TDataFile&) = delete;

    const std::string& FileName() const { return FFileName; }

    // Write side.

    // Empties the block buffer (an unwritten payload is dropped) and sets the type.
    void NewBlock(std::uint16_t wsType);
    // Compresses Word type, Word length and the payload, then empties the
    // buffer; an empty buffer writes nothing. A payload above
    // BLOCK_PAYLOAD_MAX raises plat::EWriteError.
    void WriteBlock();
    // Writes the pending output and completes the zlib stream; the file is
    // handed over to be put in place with the other files of its save
    // (plat::TAtomicFileSet). Raises plat::EWriteError. Nothing can be
    // written afterwards.
    std::unique_ptr<plat::TAtomicFileStream> Complete();

    void WriteLongint(std::int32_t ilData) { Append(&ilData, sizeof ilData); }
    void WriteSmallint(std::int16_t isData) { Append(&isData, sizeof isData); }
    void WriteWord(std::uint16_t wsData) { Append(&wsData, sizeof wsData); }
    void WriteSingle(float dData) { Append(&dData, sizeof dData); }
    void WriteDouble(double dData) { Append(&dData, sizeof dData); }
    // 10 bytes: the value in the 80-bit extended format (64-bit mantissa with
    // its integer bit, 15-bit exponent biased by 16383, sign).
    void WriteExtended(double dData);
    // sData (UTF-8) in Windows-1252 behind a Word byte count; characters
    // without a Windows-1252 byte become "?". More than 65,535 bytes raise
    // plat::EWriteError.
    void WriteString(const std::string& sData);
    // Bytes appended as they are, for payloads built elsewhere.
    void WriteBytes(std::span<const std::uint8_t> bytes) { Append(bytes.data(), static_cast<std::int64_t>(bytes.size())); }

    std::int64_t BufferSize() const { return BufStream.Size(); }
    std::uint16_t BlockType() const { return FBlockType; }

    // Read side.

    // Reads the next block into the buffer (position 0). A stream error or
    // the end of the data ends the read early; True when the buffer then holds
    // at least one byte.
    bool ReadBlock();
    // The first block reads, is of type 0 with 15 bytes, and holds the magic
    // (in the internal mode of the settings also the internal magic).
    bool IsLoadOk();

    // Reads from the block buffer; reading past its end raises plat::EReadError.
    std::int32_t ReadLongint();
    std::int16_t ReadSmallint();
    std::uint16_t ReadWord();
    float ReadSingle();
    double ReadDouble();
    double ReadExtended();
    // The string in UTF-8; a stored empty string reads as " ".
    std::string ReadString();

    std::int64_t BufferPosition() const { return BufStream.Position(); }

    // Copies the other file's current block type and payload into this buffer.
    void CopyBlock(const TDataFile& DataFile);
    // A non-empty payload as Longint type, Longint length and the bytes.
    void storeBufStream(plat::TStream& stream) const;
    // The reverse: True when type, length and all the bytes were there; the
    // buffer is then positioned at 0.
    bool restoreBufStream(plat::TStream& stream);

private:
    struct TZStream;
    class TCompressor;
    enum class TMode { Save, Load };

    TDataFile(TMode mode, std::string fileName);

    void Append(const void* data, std::int64_t count) { BufStream.Write(data, count); }
    void CheckPayloadSize(std::int64_t size) const;
    void CheckWritable() const;
    // Inflates up to count bytes; fewer at the end or after a stream error.
    std::size_t Inflate(void* data, std::size_t count);

    std::string FFileName;                    // the target's name, for messages
    plat::TMemoryStream BufStream;            // payload of the current block
    std::unique_ptr<plat::TAtomicFileStream> FSaveFile; // write side: the file beside its target
    std::unique_ptr<TCompressor> FCompressor;           //   and its compressor, until Commit
    std::unique_ptr<plat::TStream> FLoadFile;           // read side
    std::unique_ptr<TZStream> ZipStream;                //   and its decompressor
    std::uint16_t FBlockType = 0;             // type of the current block
};

} // namespace qel
