// Owned COM objects and the apartment a thread joins to use them.
#pragma once

#include <objbase.h>

#include <utility>

namespace velmora {

// One reference to a COM object, released when the holder goes. Not
// copyable; Put() hands out the slot a creating call fills (releasing what
// was held).
template <typename Interface>
class ComObject {
public:
    ComObject() noexcept = default;
    ~ComObject() { Release(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    Interface* Get() const noexcept { return m_object; }
    Interface* operator->() const noexcept { return m_object; }
    explicit operator bool() const noexcept { return m_object != nullptr; }
    Interface** Put() noexcept {
        Release();
        return &m_object;
    }
    // Another interface of the same object, or an empty holder.
    template <typename Other>
    ComObject<Other> As(const IID& iid) const noexcept {
        ComObject<Other> other;
        if (m_object != nullptr) m_object->QueryInterface(iid, reinterpret_cast<void**>(other.Put()));
        return other;
    }
    ComObject(ComObject&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}

private:
    void Release() noexcept {
        if (m_object != nullptr) std::exchange(m_object, nullptr)->Release();
    }
    Interface* m_object = nullptr;
};

// The calling thread in a single-threaded apartment while the holder lives:
// joined when it was in none, left again only then. A thread already in an
// apartment (the windows' thread after OleInitialize) keeps its own.
class ComApartment {
public:
    ComApartment() noexcept : m_joined(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (m_joined) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    // S_OK and S_FALSE both take a reference that CoUninitialize gives back.
    bool m_joined;
};

}  // namespace velmora
