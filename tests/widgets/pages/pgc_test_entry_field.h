// A concrete entry field for the tests of the entry-field base: a plain
// editor of string and integer values. It inserts, overtypes, deletes,
// pastes and cuts in the edit buffer, validates integers against their type
// and the range, and steps them; values of other types are kept as raw
// bytes so that the base's accessors can be driven for every data type.
// It records every command that reaches EditCommand.
#pragma once

#include "widgets/pages/pgc_base_entry_field.h"
#include "widgets/pages/pgc_command_codes.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace qel::test {

class TTestEntryField : public TPgcBaseEntryField {
public:
    TTestEntryField(plat::TComponent* AOwner, std::uint8_t DataType, std::uint8_t FieldClass = EfClassSimple)
        : TPgcBaseEntryField(AOwner)
    {
        SetFieldClassAndType(FieldClass, DataType);
    }

    std::vector<std::uint16_t> Commands;   // every command EditCommand received, in order

    // The base's protected parts the tests look at.
    using TPgcBaseEntryField::BuildDisplayText;
    using TPgcBaseEntryField::CheckBeforeLeave;
    using TPgcBaseEntryField::PaintText;
    using TPgcBaseEntryField::PerformCommand;
    using TPgcBaseEntryField::SetDesigning;
    using TPgcBaseEntryField::TextToRange;

    // Puts Text into the edit buffer as if typed: modified, caret at its end.
    void TypeIn(std::u16string_view Text)
    {
        MergeWithPicture(Text);
        SetCaretIndex(EditLength());
        TextChanged();
        Invalidate();
    }

protected:
    void EditCommand(plat::TMessage& Msg, std::uint16_t Cmd) override
    {
        Commands.push_back(Cmd);
        switch (Cmd) {
        case ccTypedChar:
            TypeChar(static_cast<char16_t>(Msg.WParam));
            break;
        case ccPaste:
            if (const auto* text = reinterpret_cast<const char16_t*>(Msg.LParam)) {
                ReplaceSelection(text);
            }
            break;
        case ccCut:
            ReplaceSelection(u"");
            break;
        case ccCopy:
            CopySelectionToClipboard();
            break;
        case ccBack:
            if (!DeleteSelection() && CaretIndex() > 0) {
                SetCaretIndex(CaretIndex() - 1);
                Erase(CaretIndex(), 1);
            }
            break;
        case ccDel:
            if (!DeleteSelection()) {
                Erase(CaretIndex(), 1);
            }
            break;
        case ccLeft:
            SetCaretIndex(std::max(CaretIndex() - 1, 0));
            break;
        case ccRight:
            SetCaretIndex(std::min(CaretIndex() + 1, EditLength()));
            break;
        case ccHome:
            SetCaretIndex(0);
            break;
        case ccEnd:
            SetCaretIndex(EditLength());
            break;
        case ccIns:
            SetInsertMode(!StateFlags().Contains(sefInsert));
            break;
        case ccRestore:
            Restore();
            break;
        case ccInc:
        case ccDec:
            StepValue(false, Cmd == ccInc ? 1 : -1);
            break;
        default:
            break;
        }
        UpdateCaretAndScroll(true);
        Invalidate();
    }

    std::uint16_t ValidateValue() override
    {
        std::uint16_t error = 0;
        if (IsIntegerType()) {
            const std::optional<std::int64_t> value = TextToInteger(EditText());
            if (!value || !FitsType(*value)) {
                error = epeInvalidValue;
            } else if (HasRange() && (*value < RangeLoBound().rtLong || *value > RangeHiBound().rtLong)) {
                error = epeRangeError;
            }
        }
        if (error == 0) {
            DoOnUserValidation(error);
        }
        return error;
    }

    void StepValue(bool Wrap, double Delta) override
    {
        if (!IsIntegerType()) {
            return;
        }
        std::int64_t value = TextToInteger(EditText()).value_or(0) + static_cast<std::int64_t>(Delta);
        if (HasRange()) {
            const std::int64_t low = RangeLoBound().rtLong;
            const std::int64_t high = RangeHiBound().rtLong;
            if (value > high) {
                value = Wrap ? low : high;
            } else if (value < low) {
                value = Wrap ? high : low;
            }
        }
        MergeWithPicture(IntegerToText(static_cast<std::int32_t>(value)));
        TextChanged();
    }

    std::uint16_t TransferData(void* Data, std::uint16_t Flag) override
    {
        if (Flag == 1 && Data != nullptr) {
            if (DataType() == EfString) {
                *static_cast<std::u16string*>(Data) = EditText();
            } else if (IsIntegerType()) {
                const std::int32_t value = static_cast<std::int32_t>(TextToInteger(EditText()).value_or(0));
                std::memcpy(Data, &value, DataSize());
            } else {
                std::memcpy(Data, FRaw, DataSize());
            }
        } else if (Flag == 2 && Data != nullptr) {
            if (DataType() == EfString) {
                MergeWithPicture(*static_cast<const std::u16string*>(Data));
            } else if (IsIntegerType()) {
                MergeWithPicture(IntegerToText(ReadInteger(Data)));
            } else {
                std::memcpy(FRaw, Data, DataSize());
            }
        }
        return TPgcBaseEntryField::TransferData(Data, Flag);
    }

private:
    bool IsIntegerType() const { return DataType() >= EfLongInt && DataType() <= EfShortInt; }
    bool HasRange() const { return RangeLoBound().rtLong != 0 || RangeHiBound().rtLong != 0; }

    bool FitsType(std::int64_t Value) const
    {
        switch (DataType()) {
        case EfWord:
            return Value >= 0 && Value <= 65535;
        case EfInteger:
            return Value >= -32768 && Value <= 32767;
        case EfByte:
            return Value >= 0 && Value <= 255;
        case EfShortInt:
            return Value >= -128 && Value <= 127;
        default:
            return Value >= INT32_MIN && Value <= INT32_MAX;
        }
    }

    std::int32_t ReadInteger(const void* Data) const
    {
        switch (DataType()) {
        case EfWord:
            return *static_cast<const std::uint16_t*>(Data);
        case EfInteger:
            return *static_cast<const std::int16_t*>(Data);
        case EfByte:
            return *static_cast<const std::uint8_t*>(Data);
        case EfShortInt:
            return *static_cast<const std::int8_t*>(Data);
        default:
            return *static_cast<const std::int32_t*>(Data);
        }
    }

    void Erase(int Index, int Count)
    {
        std::u16string text = EditText();
        if (Index < 0 || Index >= static_cast<int>(text.size())) {
            return;
        }
        text.erase(static_cast<std::size_t>(Index), static_cast<std::size_t>(Count));
        MergeWithPicture(text);
        TextChanged();
    }

    bool DeleteSelection()
    {
        const int length = EditLength();
        const int start = std::min(SelStart(), length);
        const int end = std::min(SelEnd(), length);
        if (end <= start) {
            return false;
        }
        Erase(start, end - start);
        SetCaretIndex(start);
        SetSelection(0, 0);
        return true;
    }

    void ReplaceSelection(std::u16string_view Insert)
    {
        DeleteSelection();
        std::u16string text = EditText();
        const auto at = static_cast<std::size_t>(std::clamp(CaretIndex(), 0, static_cast<int>(text.size())));
        text.insert(at, Insert);
        MergeWithPicture(text);
        SetCaretIndex(std::min<int>(static_cast<int>(at + Insert.size()), EditLength()));
        TextChanged();
    }

    void TypeChar(char16_t C)
    {
        if (C < u' ') {
            return;   // control characters come in through ccCtrlChar only
        }
        DeleteSelection();   // the typed character takes the selection's place
        std::u16string text = EditText();
        const auto at = static_cast<std::size_t>(std::clamp(CaretIndex(), 0, static_cast<int>(text.size())));
        if (!StateFlags().Contains(sefInsert) && at < text.size()) {
            text[at] = C;
        } else if (static_cast<int>(text.size()) < MaxLength()) {
            text.insert(at, 1, C);
        } else {
            return;
        }
        MergeWithPicture(text);
        SetCaretIndex(static_cast<int>(at) + 1);
        TextChanged();
    }

    std::uint8_t FRaw[16] = {};   // the value of a type this field does not edit
};

} // namespace qel::test
