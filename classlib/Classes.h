// Components and their ownership, lists of texts, and the small helpers that wire a component
// up: making one by name, binding a handler to a member, freeing one at the end of a scope.
// Nothing here needs a window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <typeinfo>
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

// Makes a component that is not a control (menu, menu item, timer, tray icon, image list,
// dialog), owned by owner, and names it.
template <class T>
T* NewComponent(TComponent* owner, const char* name) {
    T* component = new T(owner);
    component->Name = name;
    return component;
}

// A handler that calls method on object, for any of the events whose arguments the method
// takes: BtnClose->OnClick = Bind(this, &TFormMain::BtnCloseClick).
template <class T, class C, class R, class... Args>
auto Bind(T* object, R (C::*method)(Args...)) {
    C* target = object;
    return [target, method](Args... args) -> R {
        return (target->*method)(std::forward<Args>(args)...);
    };
}

// Where a window's texts come from: the text of key, or def when there is none.
using TTextReader = std::function<AnsiString(const AnsiString& key, const AnsiString& def)>;

// One record of any type, owned: freed when replaced, cleared or when the holder goes. Asked
// for as another type than it holds, it answers null.
class TOwnedRecord {
public:
    template <class T>
    void Set(std::unique_ptr<T> record) {
        record_ = Holder(record.release(), &Delete<T>);
        type_ = record_ ? &typeid(T) : nullptr;
    }
    template <class T>
    T* Get() const {
        return record_ && *type_ == typeid(T) ? static_cast<T*>(record_.get()) : nullptr;
    }
    void Clear() {
        record_.reset();
        type_ = nullptr;
    }
    bool Empty() const { return !record_; }

private:
    template <class T>
    static void Delete(void* record) {
        delete static_cast<T*>(record);
    }
    using Holder = std::unique_ptr<void, void (*)(void*)>;

    Holder record_{nullptr, nullptr};
    const std::type_info* type_ = nullptr;
};

// A list of texts, each with an object (or a whole number) beside it, and a record of its own
// that the list frees with the row.
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

    // The row's own record, freed when the row is deleted, the list cleared or freed, or the
    // record replaced. Record answers null for a row without one or with one of another type.
    template <class T>
    int AddRecord(const AnsiString& text, std::unique_ptr<T> record) {
        int index = Add(text);
        RecordOf(index).Set(std::move(record));
        return index;
    }
    template <class T>
    void SetRecord(int index, std::unique_ptr<T> record) {
        RecordOf(index).Set(std::move(record));
    }
    template <class T>
    T* Record(int index) const {
        return RecordOf(index).template Get<T>();
    }

protected:
    void CheckIndex(int index, int limit) const;
    virtual TOwnedRecord& RecordOf(int index) = 0;
    virtual const TOwnedRecord& RecordOf(int index) const = 0;
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

protected:
    TOwnedRecord& RecordOf(int index) override;
    const TOwnedRecord& RecordOf(int index) const override;

private:
    struct Item {
        AnsiString Text;
        void* Object;
        TOwnedRecord Record;
    };
    std::vector<Item> items_;
};
