// TPersistent: an object whose state can be copied from another (Assign)
// and streamed by the filer, through its published properties and the
// extra stream properties it defines itself (DefineProperties).
#pragma once

#include "platform/objects/object.h"

#include <stdexcept>
#include <string>

namespace plat {

class TFiler;

// Raised when an object cannot take the state of the one assigned to it.
class EAssignError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TPersistent : public TObject {
    PLAT_CLASS(TPersistent, TObject)
public:
    // Takes the state of source. The base asks source->AssignTo(this); a
    // descendant that knows source's class copies it itself and hands any
    // other source to the inherited Assign. Raises EAssignError when neither
    // side knows the pair, and for a nullptr source.
    virtual void Assign(const TPersistent* source);

    // The object that owns this one in the property tree (the component of a
    // sub-object, the collection of an item), or nullptr.
    virtual TPersistent* GetOwner() const { return nullptr; }
    // The dotted path that names this object for messages and the filer
    // ("Form1.Font"); the base answers its class name.
    virtual std::string GetNamePath() const;

protected:
    // Writes this object's state into dest; the base raises EAssignError.
    virtual void AssignTo(TPersistent* dest) const;
    // Declares stream properties beyond the published ones (filer.h); the
    // base declares none.
    virtual void DefineProperties(TFiler& filer);

    [[noreturn]] void AssignError(const TPersistent* source) const;

    friend class TReader;
    friend class TWriter;
};

} // namespace plat
