// Starting a thread and making the semaphore that tells the end of a job, each through a
// hook tests can replace, so that they can make either fail.
#pragma once

#include "framework/Handle.h"
#include "framework/ScopedHook.h"

#include <windows.h>

#include <functional>

// CreateThread(no attributes, default stack, pfnThread, pParam, running at once, no id).
// Invalid when the thread could not be made; GetLastError() says why.
UniqueHandle StartThread(LPTHREAD_START_ROUTINE pfnThread, void* pParam);

// CreateSemaphoreA(no attributes, count 0, maximum 1, no name). Invalid when it could not
// be made; GetLastError() says why.
UniqueHandle CreateDoneSemaphore();

// Replacements for tests; an empty function means the real call. Each setter returns the
// hook it replaced.
using StartThreadHook = std::function<HANDLE(LPTHREAD_START_ROUTINE pfnThread, void* pParam)>;
using CreateDoneSemaphoreHook = std::function<HANDLE()>;
StartThreadHook SetStartThreadHook(StartThreadHook hook);
CreateDoneSemaphoreHook SetCreateDoneSemaphoreHook(CreateDoneSemaphoreHook hook);
using ScopedStartThread = ScopedHook<StartThreadHook, SetStartThreadHook>;
using ScopedCreateDoneSemaphore = ScopedHook<CreateDoneSemaphoreHook, SetCreateDoneSemaphoreHook>;
