// Program texts that can be replaced at run time: each text is a global
// TResString with its built-in text; the language switch puts translations in.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

namespace plat {

// One program text. Define each as a constant-initialised global, e.g.
//   inline constinit const plat::TResString SNoRecords{"No records available!"};
// and refer to it by address (PResString) in tables. The text it reads is
// its built-in text until ReplaceResString gives it another.
class TResString {
public:
    explicit constexpr TResString(const char* builtIn) : FBuiltIn(builtIn), FCurrent(builtIn) {}
    TResString(const TResString&) = delete;
    TResString& operator=(const TResString&) = delete;

    const char* BuiltIn() const { return FBuiltIn; }

private:
    friend std::string LoadResString(const TResString* id);
    friend void ReplaceResString(const TResString* id, std::string_view text);
    friend void RestoreResStrings();

    const char* FBuiltIn;
    // The text read now; it points to FBuiltIn or to a replacement that stays
    // allocated until the program ends, so a reader never sees freed memory.
    mutable std::atomic<const char*> FCurrent;
};

using PResString = const TResString*;

// The current text of id; an empty text for a null id. Safe from any thread.
std::string LoadResString(PResString id);

// Makes id read as text from now on; a null id is ignored. Meant for the
// user-interface thread at start-up; readers on other threads see either
// the old or the new text, never a mix.
void ReplaceResString(PResString id, std::string_view text);

// Puts every replaced text back to its built-in text (for tests; no other
// thread may replace texts at the same time).
void RestoreResStrings();

} // namespace plat
