#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/sys/object.h"

// An ordered list of 8-bit strings, each entry optionally carrying an object, with the
// name=value convention: an entry "name=value" has the name before the first "=" and the value
// after it. Names and IndexOf compare without regard to ASCII letter case, as the platform does.
// An index outside the list raises EListError "List index out of bounds (%d)".
class TStrings : public TObject {
public:
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& s) = 0;
    virtual TObject* GetObject(int index) const = 0;
    virtual void PutObject(int index, TObject* object) = 0;
    virtual void InsertObject(int index, const std::string& s, TObject* object) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    std::string operator[](int index) const { return Get(index); }
    // Appends and returns the new entry's index.
    int Add(const std::string& s) { return AddObject(s, nullptr); }
    int AddObject(const std::string& s, TObject* object);
    void Insert(int index, const std::string& s) { InsertObject(index, s, nullptr); }
    void AddStrings(const TStrings& other);
    // Replaces every entry by those of other, objects included.
    void Assign(const TStrings& other);

    // -1 when absent.
    int IndexOf(std::string_view s) const;
    int IndexOfName(std::string_view name) const;

    // The name part of entry index; empty when the entry has no "=".
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    // The value of the first entry named name; empty when there is none.
    std::string Values(std::string_view name) const;
    // Replaces the value of the first entry named name, or appends "name=value"; an empty
    // value deletes the entry, as the platform does.
    void SetValue(std::string_view name, std::string_view value);

    // Entries joined by CR LF, each one terminated. Setting splits at CR LF, LF or CR.
    std::string Text() const;
    void SetText(std::string_view text);

protected:
    [[noreturn]] static void IndexError(int index);
};

// The plain list. With OwnsObjects the list frees an entry's object when the entry is deleted
// or replaced, and every object when the list is freed.
class TStringList : public TStrings {
public:
    explicit TStringList(bool ownsObjects = false) : ownsObjects_(ownsObjects) {}
    ~TStringList() override;

    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool owns) { ownsObjects_ = owns; }

    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void InsertObject(int index, const std::string& s, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;

private:
    struct Item {
        std::string text;
        TObject* object;
    };
    void CheckIndex(int index) const;

    std::vector<Item> items_;
    bool ownsObjects_;
};
