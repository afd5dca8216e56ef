// In-process tests of the application icon and the executable's resources.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "main/tray/app_icon_win.h"

TEST(AppIcon, EveryEntryDecodesAtItsSize) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        HICON icon = load_app_icon(size, size);
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm{};
        GetObjectW(info.hbmColor, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, size);
        EXPECT_EQ(bm.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(AppIcon, InBetweenSizesAreMadeFromTheNearestEntry) {
    for (int size : {24, 40, 300}) {
        HICON icon = load_app_icon(size, size);
        EXPECT_NE(icon, nullptr) << size;
        DestroyIcon(icon);
    }
}

TEST(AppIcon, TheExecutableCarriesItAsItsFirstIcon) {
    wchar_t path[MAX_PATH];
    GetFullPathNameW(L"..\\Vellumshot.exe", MAX_PATH, path, nullptr);
    HICON large = nullptr, small = nullptr;
    EXPECT_GE(ExtractIconExW(path, 0, &large, &small, 1), 1u);
    EXPECT_NE(large, nullptr);
    EXPECT_NE(small, nullptr);
    DestroyIcon(large);
    DestroyIcon(small);
}

TEST(AppManifest, AsksForLongPathsAndPerMonitorAwarenessWithItsFallback) {
    // Wine ignores both settings. Windows gives paths past MAX_PATH only to a program that
    // asks, and 1607, which knows no PerMonitorV2, takes the next name in the list.
    HMODULE exe = LoadLibraryExW(L"..\\Vellumshot.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(exe, found)));
    const std::string manifest(text, SizeofResource(exe, found));
    EXPECT_NE(manifest.find("<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                            "WindowsSettings\">true</longPathAware>"),
              std::string::npos);
    EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                            "WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"),
              std::string::npos);
    FreeLibrary(exe);
}
