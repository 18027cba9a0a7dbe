// Components and their ownership, lists of texts, and freeing a component at the end of a
// scope. Nothing here needs a window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "AnsiString.h"
#include "SysUtils.h"

class TObject {
public:
    virtual ~TObject() = default;
    // The class's own name ("TFormProgress"); forms and frames register their
    // window class under it.
    virtual AnsiString ClassName() const;
};

// Owns the components made with it as owner and frees them with itself, the
// last made first.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Runs BeforeDestruction while the whole object still lives, then deletes it.
    void Free();
    // Frees the owned components; forms also run OnDestroy here.
    virtual void BeforeDestruction();
    void DestroyComponents();

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    TComponent* FindComponent(const AnsiString& name) const;

    AnsiString Name;
    intptr_t Tag = 0;

private:
    TComponent* owner_;
    std::vector<TComponent*> components_;
};

template <class T>
void FreeAndNil(T*& object) {
    T* doomed = object;
    object = nullptr;
    if (doomed) doomed->Free();
}

// Frees a component (Free, so its BeforeDestruction runs) when the holder goes: a dialog made
// for one run, a form a test makes.
struct TComponentFree {
    void operator()(TComponent* component) const {
        if (component) component->Free();
    }
};
template <class T>
using TAutoFree = std::unique_ptr<T, TComponentFree>;

// A list of texts, each with an object (or a whole number) beside it.
class TStrings {
public:
    virtual ~TStrings() = default;
    virtual int Count() const = 0;
    virtual AnsiString Strings(int index) const = 0;
    virtual void Put(int index, const AnsiString& text) = 0;
    virtual void* Objects(int index) const = 0;
    virtual void PutObject(int index, void* object) = 0;
    virtual void InsertObject(int index, const AnsiString& text, void* object) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    AnsiString operator[](int index) const { return Strings(index); }
    int Add(const AnsiString& text) { return AddObject(text, nullptr); }
    int AddObject(const AnsiString& text, void* object);
    int AddValue(const AnsiString& text, intptr_t value) {
        return AddObject(text, reinterpret_cast<void*>(value));
    }
    intptr_t Value(int index) const { return reinterpret_cast<intptr_t>(Objects(index)); }

protected:
    void CheckIndex(int index, int limit) const;
};

class TStringList : public TStrings {
public:
    int Count() const override { return static_cast<int>(items_.size()); }
    AnsiString Strings(int index) const override;
    void Put(int index, const AnsiString& text) override;
    void* Objects(int index) const override;
    void PutObject(int index, void* object) override;
    void InsertObject(int index, const AnsiString& text, void* object) override;
    void Delete(int index) override;
    void Clear() override { items_.clear(); }

private:
    struct Item {
        AnsiString Text;
        void* Object;
    };
    std::vector<Item> items_;
};
