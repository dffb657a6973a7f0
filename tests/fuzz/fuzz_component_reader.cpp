// Fuzz target for the component stream reader: any bytes read into a tree
// of test components give a tree, EReadError or EClassNotFound, and leave
// nothing half-built behind. A tree that was read writes a stream that reads
// back to the same tree.
//
// Inputs that start with the stream signature are read as they are; any
// other input edits a valid stream (three bytes per edit: offset low, offset
// high, new byte; a last lone byte cuts the stream), so that most inputs get
// past the header.
#include "tests/platform/objects/stream_test_classes.h"
#include "tests/fuzz/input_bytes.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using namespace stream_test;

// A form using every property kind, a book with pages, and references.
std::string ValidStream()
{
    RegisterStreamTestClasses();
    TTestWidget form(nullptr);
    form.SetName("Form1");
    auto* first = new TTestWidget(&form);
    first->SetName("Widget1");
    first->SetParentComponent(&form);
    first->SetCount(-70000);
    first->SetBig(std::int64_t{1} << 40);
    first->SetSmall(-300);
    first->SetAlign(alBottom);
    first->SetCaption("Grüße");
    first->SetRatio(0.5);
    first->SetEnabled(false);
    first->SetColor(clRed);
    first->Font()->SetStyle({fsBold, fsUnderline});
    first->Font()->SetSize(12);
    static_cast<TTestItem*>(first->Items()->Add())->SetCaption("Time");
    static_cast<TTestItem*>(first->Items()->Add())->Font()->SetColor(0x123456);
    auto* book = new TTestBook(&form);
    book->SetName("Book1");
    book->SetParentComponent(&form);
    auto* page = new TTestWidget(book);
    page->SetName("Page1");
    page->SetParentComponent(book);
    page->SetBuddy(first);
    first->SetBuddy(&form);
    auto* timer = new TTestTimer(&form);
    timer->SetName("Timer1");
    timer->SetTag(9);
    return WriteRoot(&form);
}

std::string StreamFor(const std::uint8_t* data, std::size_t size)
{
    static const std::string valid = ValidStream();
    if (size >= 4 && std::memcmp(data, plat::kComponentStreamSignature, 4) == 0) {
        return std::string(reinterpret_cast<const char*>(data), size);
    }
    return qel::fuzz::Mutated(valid, data, size, 0);
}

// ReadRoot, answering nullptr when the stream was refused.
plat::TComponent* ReadOrRefuse(const std::string& bytes, plat::TComponent* root)
{
    try {
        return ReadRoot(bytes, root);
    } catch (const plat::EClassNotFound&) {
        return nullptr;
    } catch (const plat::EReadError&) {
        return nullptr;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes = StreamFor(data, size);
    const bool intoGivenRoot = size > 0 && (data[0] & 1) != 0;
    std::unique_ptr<TTestWidget> given(intoGivenRoot ? new TTestWidget(nullptr) : nullptr);
    plat::TComponent* root = ReadOrRefuse(bytes, given.get());
    if (root == nullptr) {
        if (given != nullptr && given->ComponentCount() != 0) {
            std::abort();   // a refused stream left components behind
        }
        return 0;
    }
    std::unique_ptr<plat::TComponent> built(given != nullptr ? nullptr : root);

    // What was read writes a stream that reads back and writes the same.
    const std::string written = WriteRoot(root);
    std::unique_ptr<plat::TComponent> again(ReadOrRefuse(written, nullptr));
    if (again == nullptr) {
        std::abort();
    }
    const std::string rewritten = WriteRoot(again.get());
    std::unique_ptr<plat::TComponent> third(ReadOrRefuse(rewritten, nullptr));
    if (third == nullptr || WriteRoot(third.get()) != rewritten) {
        std::abort();
    }
    return 0;
}
