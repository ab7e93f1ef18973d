/* The few user-mode functions the driver uses, imported from kernelbase (see
 * kernelbase.def). Declared here because <windows.h> does not mix with ddk/wdm.h. */
#pragma once

#include <ntdef.h>

typedef void* HANDLE;
typedef unsigned long DWORD;
typedef int BOOL;

typedef struct {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
} OVERLAPPED;

/* Same size and alignment as RTL_CRITICAL_SECTION; only kernelbase looks inside. */
typedef struct {
    void* fields[5];
} CRITICAL_SECTION;

typedef DWORD(WINAPI* THREAD_START)(void*);

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define OPEN_EXISTING 3
#define FILE_FLAG_OVERLAPPED 0x40000000UL
#define PIPE_READMODE_MESSAGE 2
#define ERROR_IO_PENDING 997
#define ERROR_PIPE_BUSY 231
#define INFINITE 0xFFFFFFFFUL
#define WAIT_OBJECT_0 0
#ifndef TRUE
#define TRUE 1
#endif

HANDLE WINAPI CreateFileW(const WCHAR* name, DWORD access, DWORD share, void* security, DWORD creation,
                          DWORD flags, HANDLE template_file);
BOOL WINAPI WaitNamedPipeW(const WCHAR* name, DWORD ms);
BOOL WINAPI SetNamedPipeHandleState(HANDLE pipe, DWORD* mode, DWORD* max_count, DWORD* timeout);
BOOL WINAPI ReadFile(HANDLE file, void* buffer, DWORD size, DWORD* done, OVERLAPPED* ov);
BOOL WINAPI WriteFile(HANDLE file, const void* buffer, DWORD size, DWORD* done, OVERLAPPED* ov);
BOOL WINAPI GetOverlappedResult(HANDLE file, OVERLAPPED* ov, DWORD* done, BOOL wait);
BOOL WINAPI CancelIoEx(HANDLE file, OVERLAPPED* ov);
BOOL WINAPI CloseHandle(HANDLE handle);
DWORD WINAPI GetLastError(void);
HANDLE WINAPI CreateEventW(void* security, BOOL manual, BOOL initial, const WCHAR* name);
BOOL WINAPI SetEvent(HANDLE event);
DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD ms);
DWORD WINAPI WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL all, DWORD ms);
HANDLE WINAPI CreateThread(void* security, SIZE_T stack, THREAD_START start, void* param, DWORD flags,
                           DWORD* id);
void WINAPI InitializeCriticalSection(CRITICAL_SECTION* section);
void WINAPI DeleteCriticalSection(CRITICAL_SECTION* section);
void WINAPI EnterCriticalSection(CRITICAL_SECTION* section);
void WINAPI LeaveCriticalSection(CRITICAL_SECTION* section);
