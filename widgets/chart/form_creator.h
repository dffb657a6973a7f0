// IFormCreator: how a chart filter describes its settings to an editor form.
// Each control is bound by name to the filter's stored property of that
// name; the form behind the interface lies outside the chart library.
#pragma once

#include "platform/objects/events.h"
#include "platform/objects/object.h"

#include <string>

namespace qel {

// The scroll bar an editor form hands back from AddScroll; a filter may
// change its range afterwards.
class TScrollBar : public plat::TObject {
    PLAT_CLASS(TScrollBar, plat::TObject)
public:
    TScrollBar(int Min, int Max) : FMin(Min), FMax(Max) {}

    int Min() const { return FMin; }
    void SetMin(int Value) { FMin = Value; }
    int Max() const { return FMax; }
    void SetMax(int Value) { FMax = Value; }

private:
    int FMin;
    int FMax;
};

class IFormCreator {
public:
    virtual ~IFormCreator() = default;

    // A check box for a Boolean property; OnChange, when assigned, runs
    // after the box changes.
    virtual void AddCheckBox(const std::string& PropName, const std::string& Caption,
        const plat::TNotifyEvent& OnChange) = 0;
    // A colour chooser for a colour property.
    virtual void AddColor(const std::string& PropName, const std::string& Caption) = 0;
    // A choice of the values of an enumerated property.
    virtual void AddCombo(const std::string& PropName) = 0;
    // A number field for an integer property, bounded by Min and Max.
    virtual void AddInteger(const std::string& PropName, const std::string& Caption, int Min, int Max) = 0;
    // A scroll bar for an integer property over Min .. Max; answers the
    // control made (a TScrollBar from the forms of this program).
    virtual plat::TObject* AddScroll(const std::string& PropName, int Min, int Max) = 0;
};

} // namespace qel
