// Small component classes with a property of every streamed kind, and
// stream helpers, shared by the filer tests and the component-reader fuzz
// target.
#pragma once

#include "platform/objects/class_registry.h"
#include "platform/objects/collection.h"
#include "platform/objects/component.h"
#include "platform/objects/reader.h"
#include "platform/objects/set.h"
#include "platform/objects/writer.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace stream_test {

enum TAlign { alNone, alTop, alBottom, alClient };
enum TFontStyle { fsBold, fsItalic, fsUnderline };
using TFontStyles = plat::TSet<TFontStyle>;

inline constexpr std::int32_t clBlack = 0;
inline constexpr std::int32_t clRed = 0x0000FF;
inline constexpr std::int32_t clWindow = -16777211;

// Colours with names are written by name.
inline bool ColorToIdent(std::int64_t value, std::string& ident)
{
    switch (value) {
    case clBlack:
        ident = "clBlack";
        return true;
    case clRed:
        ident = "clRed";
        return true;
    case clWindow:
        ident = "clWindow";
        return true;
    default:
        return false;
    }
}

inline bool IdentToColor(std::string_view ident, std::int64_t& value)
{
    for (const std::int64_t colour : {clBlack, clRed, clWindow}) {
        std::string name;
        ColorToIdent(colour, name);
        if (name == ident) {
            value = colour;
            return true;
        }
    }
    return false;
}

inline constexpr plat::TIdentMap kColorIdents{&ColorToIdent, &IdentToColor};

// A sub-object streamed in place ("Font.Size").
class TTestFont : public plat::TPersistent {
    PLAT_CLASS(TTestFont, plat::TPersistent)
public:
    explicit TTestFont(plat::TPersistent* owner = nullptr) : FOwner(owner) {}

    const std::string& Name() const { return FName; }
    void SetName(const std::string& name) { FName = name; }
    int Size() const { return FSize; }
    void SetSize(int size) { FSize = size; }
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style) { FStyle = style; }
    std::int32_t Color() const { return FColor; }
    void SetColor(std::int32_t color) { FColor = color; }

    plat::TPersistent* GetOwner() const override { return FOwner; }
    void Assign(const plat::TPersistent* source) override
    {
        if (const auto* font = dynamic_cast<const TTestFont*>(source)) {
            FName = font->FName;
            FSize = font->FSize;
            FStyle = font->FStyle;
            FColor = font->FColor;
            return;
        }
        TPersistent::Assign(source);
    }

private:
    plat::TPersistent* FOwner;
    std::string FName = "DejaVu Sans";
    int FSize = 10;
    TFontStyles FStyle;
    std::int32_t FColor = clBlack;
};

inline PLAT_DEFINE_CLASS(TTestFont, plat::TPersistent,
    plat::Published("Name", &TTestFont::Name, &TTestFont::SetName).Default("DejaVu Sans"),
    plat::Published("Size", &TTestFont::Size, &TTestFont::SetSize).Default(10),
    plat::Published("Style", &TTestFont::Style, &TTestFont::SetStyle, {"fsBold", "fsItalic", "fsUnderline"})
        .Default(TFontStyles{}),
    plat::Published("Color", &TTestFont::Color, &TTestFont::SetColor).Default(clBlack).Idents(kColorIdents))

class TTestItem : public plat::TCollectionItem {
    PLAT_CLASS(TTestItem, plat::TCollectionItem)
public:
    explicit TTestItem(plat::TCollection* collection) : TCollectionItem(collection) {}

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption) { FCaption = caption; }
    int Width() const { return FWidth; }
    void SetWidth(int width) { FWidth = width; }
    TTestFont* Font() const { return &FFont; }

    void Assign(const plat::TPersistent* source) override
    {
        if (const auto* item = dynamic_cast<const TTestItem*>(source)) {
            FCaption = item->FCaption;
            FWidth = item->FWidth;
            FFont.Assign(&item->FFont);
            return;
        }
        TCollectionItem::Assign(source);
    }

private:
    std::string FCaption;
    int FWidth = 50;
    mutable TTestFont FFont{this};
};

inline PLAT_DEFINE_CLASS(TTestItem, plat::TCollectionItem,
    plat::Published("Caption", &TTestItem::Caption, &TTestItem::SetCaption),
    plat::Published("Width", &TTestItem::Width, &TTestItem::SetWidth).Default(50),
    plat::Published("Font", &TTestItem::Font, nullptr))

// A component with a published property of every kind the filer streams.
class TTestWidget : public plat::TComponent {
    PLAT_CLASS(TTestWidget, plat::TComponent)
public:
    explicit TTestWidget(plat::TComponent* owner) : TComponent(owner) {}

    int Count() const { return FCount; }
    void SetCount(int count) { FCount = count; }
    std::int64_t Big() const { return FBig; }
    void SetBig(std::int64_t big) { FBig = big; }
    std::int16_t Small() const { return FSmall; }
    void SetSmall(std::int16_t small) { FSmall = small; }
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign align) { FAlign = align; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption) { FCaption = caption; }
    double Ratio() const { return FRatio; }
    void SetRatio(double ratio) { FRatio = ratio; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled) { FEnabled = enabled; }
    std::int32_t Color() const { return FColor; }
    void SetColor(std::int32_t color) { FColor = color; }
    TTestWidget* Buddy() const { return FBuddy; }
    void SetBuddy(TTestWidget* buddy)
    {
        FBuddy = buddy;
        if (buddy != nullptr) {
            buddy->FreeNotification(this);
        }
    }
    TTestFont* Font() const { return &FFont; }
    plat::TOwnedCollection* Items() const { return &FItems; }
    int Hidden() const { return FHidden; }
    void SetHidden(int hidden) { FHidden = hidden; }
    bool HiddenStored() const { return false; }
    const std::string& Secret() const { return FSecret; }
    void SetSecret(const std::string& secret) { FSecret = secret; }
    int Threshold() const { return FThreshold; }   // published under a name of more than 14 bytes
    void SetThreshold(int threshold) { FThreshold = threshold; }

    // Widgets sit on a parent widget; the root form is a widget too.
    bool HasParent() const override { return true; }
    plat::TComponent* GetParentComponent() const override { return FParentWidget; }
    void SetParentComponent(plat::TComponent* parent) override
    {
        FParentWidget = dynamic_cast<TTestWidget*>(parent);
        if (FParentWidget != nullptr) {
            FParentWidget->FreeNotification(this);
        }
    }
    // The components owned by the root that sit on this widget.
    void GetChildren(const plat::TGetChildProc& proc, plat::TComponent* root) override
    {
        for (int index = 0; root != nullptr && index < root->ComponentCount(); ++index) {
            plat::TComponent* child = root->Components(index);
            if (child->GetParentComponent() == this || (this == root && child->GetParentComponent() == nullptr)) {
                proc(child);
            }
        }
    }

    // Creation and Loaded order, shared by the widgets of one test.
    std::string* LoadLog = nullptr;

protected:
    void Notification(plat::TComponent* component, plat::TOperation operation) override
    {
        if (operation == plat::opRemove) {
            if (component == FBuddy) {
                FBuddy = nullptr;
            }
            if (component == FParentWidget) {
                FParentWidget = nullptr;
            }
        }
        TComponent::Notification(component, operation);
    }
    void Loaded() override
    {
        TComponent::Loaded();
        auto* form = dynamic_cast<TTestWidget*>(Owner());
        std::string* log = LoadLog != nullptr ? LoadLog : (form != nullptr ? form->LoadLog : nullptr);
        if (log != nullptr) {
            *log += Name() + (Buddy() != nullptr ? "->" + Buddy()->Name() : "") + ";";
        }
    }

private:
    int FCount = 0;
    std::int64_t FBig = 0;
    std::int16_t FSmall = 0;
    TAlign FAlign = alNone;
    std::string FCaption;
    double FRatio = 0;
    bool FEnabled = true;
    std::int32_t FColor = clWindow;
    TTestWidget* FBuddy = nullptr;
    TTestWidget* FParentWidget = nullptr;
    mutable TTestFont FFont{this};
    mutable plat::TOwnedCollection FItems{this, TTestItem::StaticClass()};
    int FHidden = 0;
    std::string FSecret;
    int FThreshold = 0;
};

inline PLAT_DEFINE_CLASS(TTestWidget, plat::TComponent,
    plat::Published("Count", &TTestWidget::Count, &TTestWidget::SetCount).Default(0),
    plat::Published("Big", &TTestWidget::Big, &TTestWidget::SetBig).Default(0),
    plat::Published("Small", &TTestWidget::Small, &TTestWidget::SetSmall).Default(0),
    plat::Published("Align", &TTestWidget::Align, &TTestWidget::SetAlign, {"alNone", "alTop", "alBottom", "alClient"})
        .Default(alNone),
    plat::Published("Caption", &TTestWidget::Caption, &TTestWidget::SetCaption),
    plat::Published("Ratio", &TTestWidget::Ratio, &TTestWidget::SetRatio),
    plat::Published("Enabled", &TTestWidget::Enabled, &TTestWidget::SetEnabled).Default(true),
    plat::Published("Color", &TTestWidget::Color, &TTestWidget::SetColor).Default(clWindow).Idents(kColorIdents),
    plat::Published("Buddy", &TTestWidget::Buddy, &TTestWidget::SetBuddy),
    plat::Published("Font", &TTestWidget::Font, nullptr),
    plat::Published("Items", &TTestWidget::Items, nullptr),
    plat::Published("Hidden", &TTestWidget::Hidden, &TTestWidget::SetHidden)
        .Default(0)
        .StoredIf(&TTestWidget::HiddenStored),
    plat::Published("Secret", &TTestWidget::Secret, &TTestWidget::SetSecret).Stored(false),
    plat::Published("ThresholdInPercent", &TTestWidget::Threshold, &TTestWidget::SetThreshold).Default(0))

// A widget whose streamed children are the pages it owns itself (as a
// page container streams its pages); PagesStored false streams none.
class TTestBook : public TTestWidget {
    PLAT_CLASS(TTestBook, TTestWidget)
public:
    explicit TTestBook(plat::TComponent* owner) : TTestWidget(owner) {}

    bool PagesStored() const { return FPagesStored; }
    void SetPagesStored(bool stored) { FPagesStored = stored; }

    void GetChildren(const plat::TGetChildProc& proc, plat::TComponent*) override
    {
        for (int index = 0; FPagesStored && index < ComponentCount(); ++index) {
            proc(Components(index));
        }
    }
    plat::TComponent* GetChildOwner() override { return this; }

private:
    bool FPagesStored = true;
};

inline PLAT_DEFINE_CLASS(TTestBook, TTestWidget,
    plat::Published("PagesStored", &TTestBook::PagesStored, &TTestBook::SetPagesStored).Default(true))

// A component class that is no widget, and a persistent class that is no
// component, for the class checks of the reader.
class TTestTimer : public plat::TComponent {
    PLAT_CLASS(TTestTimer, plat::TComponent)
public:
    using TComponent::TComponent;
};

inline PLAT_DEFINE_CLASS(TTestTimer, plat::TComponent)

// The stream of root and its tree, as bytes.
inline std::string WriteRoot(plat::TComponent* root)
{
    plat::TMemoryStream stream;
    plat::TWriter writer(stream);
    writer.WriteRootComponent(root);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

// Reads bytes into root (a new one when nullptr) and answers the root.
inline plat::TComponent* ReadRoot(const std::string& bytes, plat::TComponent* root)
{
    plat::TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    plat::TReader reader(stream);
    return reader.ReadRootComponent(root);
}

inline void RegisterStreamTestClasses()
{
    plat::RegisterClasses({TTestWidget::StaticClass(), TTestBook::StaticClass(), TTestTimer::StaticClass(),
                           TTestFont::StaticClass(), TTestItem::StaticClass()});
}

} // namespace stream_test
