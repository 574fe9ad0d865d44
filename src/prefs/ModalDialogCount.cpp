#include "prefs/ModalDialogCount.h"

namespace {
std::atomic<int> g_modalCount{0};
} // namespace

int ModalDialogCount() { return g_modalCount.load(); }

TModalDialogScope::TModalDialogScope() { ++g_modalCount; }

TModalDialogScope::~TModalDialogScope() { --g_modalCount; }
