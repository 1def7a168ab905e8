#pragma once
// Which family of system the launcher runs on, as far as file locations are
// concerned: 95 for the Windows 95 family, 0 for anything else (Linux
// included). Set once by the machine information at start-up; 0 until then.
namespace zv {

int OsKind();
void SetOsKind(int kind);

}  // namespace zv
