// One MAT-file of a MATLAB save: descriptive variables and the double matrix
// "QEL" streamed column by column up to a column limit; the user's row limit.
#pragma once

#include "export/matlab_elements.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {
class TAtomicFileStream;
}

namespace qel {

// Matrix data stays below this many bytes, so every 32-bit size field of the
// format holds it.
constexpr std::uint64_t MAT2_MATRIX_BYTES_MAX = 4000000000;
constexpr std::uint32_t MAT2_NO_ROW_LIMIT = 0xFFFFFFFF;

// The user's limit of columns per file (rows of the merge), taken by every
// matrix begun afterwards; MAT2_NO_ROW_LIMIT at start. The application sets
// it as it sets the record list's size budget.
void Mat2SetMaxValues(std::uint32_t n);
std::uint32_t Mat2GetMaxValues();

// Mat2Open creates the file beside its target and writes the header;
// Mat2Close hands the complete file over, to take the target's place with
// the other parts of its save (plat::TAtomicFileSet). Destroyed without
// Mat2Close (a failed or cancelled part), the file is dropped and the
// target stays as it was. The variables are written in file order; the matrix stays open
// from Mat2BeginMatrix to Mat2EndMatrix.
class TMat2File {
public:
    // Raises the platform's file-create error when the file cannot be made.
    explicit TMat2File(const std::string& FileName);
    ~TMat2File();
    TMat2File(const TMat2File&) = delete;
    TMat2File& operator=(const TMat2File&) = delete;

    // The complete file, handed over; nothing can be written afterwards.
    std::unique_ptr<plat::TAtomicFileStream> Mat2Close();

    void Mat2WriteString(const std::string& name, const std::string& text) { FWriter.WriteMtlStringVar(name, text); }
    void Mat2WriteStringCell(const std::string& name, const std::vector<std::string>& texts)
    {
        FWriter.WriteMtlStringCell(name, texts);
    }
    void Mat2WriteDouble(const std::string& name, double x) { FWriter.WriteMtlDoubleVar(name, x); }

    // The column the next Mat2WriteColumn writes; sized by the caller
    // before Mat2BeginMatrix and kept at that size.
    std::vector<double>& Row() { return FRow; }

    // Starts "QEL" [length of the row, 0]. The column limit is
    // MAT2_MATRIX_BYTES_MAX div the row's bytes, or the user's row limit
    // when that is smaller, and at least 1.
    void Mat2BeginMatrix();
    // Writes the row as the next column; False when the matrix is full.
    bool Mat2WriteColumn();
    // Patches the column count and the data size, completes "QEL".
    void Mat2EndMatrix();

    std::uint32_t ColumnLimit() const { return FColumnLimit; }

private:
    std::unique_ptr<plat::TAtomicFileStream> FStream;
    TMtlWriter FWriter;
    std::vector<double> FRow;
    std::uint32_t FRowSize = 0;         // bytes of one column
    std::uint32_t FColumnCount = 0;     // columns of the open matrix
    std::uint32_t FColumnLimit = 0;
    std::int64_t FPosColumns = 0;       // second dimension of "QEL"
    std::int64_t FPosDataSize = 0;      // size field of its data tag
};

} // namespace qel
