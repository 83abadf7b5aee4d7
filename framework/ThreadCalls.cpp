#include "framework/ThreadCalls.h"

#include <utility>

namespace {
StartThreadHook g_startThreadHook;
CreateDoneSemaphoreHook g_createDoneSemaphoreHook;
} // namespace

UniqueHandle StartThread(LPTHREAD_START_ROUTINE pfnThread, void* pParam) {
    if (g_startThreadHook)
        return UniqueHandle(g_startThreadHook(pfnThread, pParam));
    return UniqueHandle(CreateThread(nullptr, 0, pfnThread, pParam, 0, nullptr));
}

UniqueHandle CreateDoneSemaphore() {
    if (g_createDoneSemaphoreHook)
        return UniqueHandle(g_createDoneSemaphoreHook());
    return UniqueHandle(CreateSemaphoreA(nullptr, 0, 1, nullptr));
}

StartThreadHook SetStartThreadHook(StartThreadHook hook) {
    return std::exchange(g_startThreadHook, std::move(hook));
}

CreateDoneSemaphoreHook SetCreateDoneSemaphoreHook(CreateDoneSemaphoreHook hook) {
    return std::exchange(g_createDoneSemaphoreHook, std::move(hook));
}
