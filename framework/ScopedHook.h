// ScopedHook: installs a test's replacement of a platform call for the life of a scope.
#pragma once

#include <utility>

// Install is the hook's setter, which returns the hook it replaced; that one is put back
// when the scope ends.
template <class Hook, Hook (*Install)(Hook)> class ScopedHook {
public:
    explicit ScopedHook(Hook hook) : m_previous(Install(std::move(hook))) {}
    ~ScopedHook() { Install(std::move(m_previous)); }
    ScopedHook(const ScopedHook&) = delete;
    ScopedHook& operator=(const ScopedHook&) = delete;

private:
    Hook m_previous;
};
