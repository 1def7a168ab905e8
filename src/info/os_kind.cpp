#include "info/os_kind.h"

namespace zv {
namespace {
int g_osKind = 0;
}  // namespace

int OsKind() { return g_osKind; }
void SetOsKind(int kind) { g_osKind = kind; }

}  // namespace zv
