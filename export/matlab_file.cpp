// One MAT-file of a MATLAB save: written beside its target, matrix "QEL"
// streamed column by column, its dimensions and size patched at its end.
#include "export/matlab_file.h"

#include "platform/atomic_file.h"

#include <algorithm>
#include <atomic>

namespace qel {

namespace {

std::atomic<std::uint32_t> UserRowLimit{MAT2_NO_ROW_LIMIT};

constexpr char MATRIX_NAME[] = "QEL";

} // namespace

void Mat2SetMaxValues(std::uint32_t n)
{
    UserRowLimit.store(n);
}

std::uint32_t Mat2GetMaxValues()
{
    return UserRowLimit.load();
}

TMat2File::TMat2File(const std::string& FileName)
    : FStream(std::make_unique<plat::TAtomicFileStream>(FileName)), FWriter(*FStream)
{
    FWriter.WriteMtlHeader();
}

TMat2File::~TMat2File() = default;

std::unique_ptr<plat::TAtomicFileStream> TMat2File::Mat2Close()
{
    return std::move(FStream);
}

void TMat2File::Mat2BeginMatrix()
{
    FRowSize = static_cast<std::uint32_t>(FRow.size() * sizeof(double));
    FColumnCount = 0;
    const std::uint64_t byBytes = FRowSize == 0 ? MAT2_MATRIX_BYTES_MAX : MAT2_MATRIX_BYTES_MAX / FRowSize;
    const std::uint64_t limit = std::min<std::uint64_t>(byBytes, Mat2GetMaxValues());
    FColumnLimit = static_cast<std::uint32_t>(std::max<std::uint64_t>(1, limit));

    FWriter.PrimeMtlTag(miMATRIX);
    FWriter.WriteMtlArrayFlags(mxDOUBLE_CLASS);
    FPosColumns = FStream->Position() + 8 + sizeof(std::int32_t);   // behind the tag and the first dimension
    FWriter.WriteMtlDimensions(MtlMatrixDims(0, static_cast<std::int32_t>(FRow.size())));
    FWriter.WriteMtlName(MATRIX_NAME);
    FPosDataSize = FStream->Position() + sizeof(std::uint32_t);     // behind the data type
    FWriter.WriteMtlTag(miDOUBLE, 0);
}

bool TMat2File::Mat2WriteColumn()
{
    FStream->Write(FRow.data(), FRowSize);
    ++FColumnCount;
    return FColumnCount < FColumnLimit;
}

void TMat2File::Mat2EndMatrix()
{
    const std::int64_t end = FStream->Position();
    const auto columns = static_cast<std::int32_t>(FColumnCount);
    const auto dataSize = static_cast<std::uint32_t>(std::uint64_t{FColumnCount} * FRowSize);
    FStream->SetPosition(FPosColumns);
    FStream->WriteBuffer(&columns, sizeof columns);
    FStream->SetPosition(FPosDataSize);
    FStream->WriteBuffer(&dataSize, sizeof dataSize);
    FStream->SetPosition(end);
    FWriter.CompleteMtlTag();
}

} // namespace qel
