#pragma once

// Root of the object model: anything a string list entry carries or a component owns is freed
// through this virtual destructor.
class TObject {
public:
    TObject() = default;
    virtual ~TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
};
