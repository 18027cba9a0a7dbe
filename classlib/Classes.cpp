#include "Classes.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>

AnsiString TObject::ClassName() const {
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    AnsiString name = (status == 0 && demangled) ? AnsiString(demangled.get()) : mangled;
    size_t colon = name.rfind("::");
    if (colon != AnsiString::npos) name.erase(0, colon + 2);
    return name;
}

// TComponent

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
    DestroyComponents();
    if (owner_) {
        auto& list = owner_->components_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

void TComponent::Free() {
    BeforeDestruction();
    delete this;
}

void TComponent::BeforeDestruction() {
    DestroyComponents();
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* component = components_.back();
        components_.pop_back();
        component->owner_ = nullptr;
        component->Free();
    }
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw Exception(Format("List index out of bounds (%d)", index));
    return components_[static_cast<size_t>(index)];
}

TComponent* TComponent::FindComponent(const AnsiString& name) const {
    for (TComponent* component : components_)
        if (AnsiCompareText(component->Name, name) == 0) return component;
    return nullptr;
}

// TStrings

int TStrings::AddObject(const AnsiString& text, void* object) {
    int index = Count();
    InsertObject(index, text, object);
    return index;
}

void TStrings::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit)
        throw Exception(Format("List index out of bounds (%d)", index));
}

AnsiString TStringList::Strings(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)].Text;
}

void TStringList::Put(int index, const AnsiString& text) {
    CheckIndex(index, Count());
    items_[static_cast<size_t>(index)].Text = text;
}

void* TStringList::Objects(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)].Object;
}

void TStringList::PutObject(int index, void* object) {
    CheckIndex(index, Count());
    items_[static_cast<size_t>(index)].Object = object;
}

void TStringList::InsertObject(int index, const AnsiString& text, void* object) {
    CheckIndex(index, Count() + 1);
    items_.insert(items_.begin() + index, Item{text, object, TOwnedRecord()});
}

void TStringList::Delete(int index) {
    CheckIndex(index, Count());
    items_.erase(items_.begin() + index);
}

TOwnedRecord& TStringList::RecordOf(int index) {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)].Record;
}

const TOwnedRecord& TStringList::RecordOf(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)].Record;
}
