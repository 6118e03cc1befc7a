#include "win32/zorvane/main_dialogs.h"

#include <iterator>
#include <memory>

#include "main_window/stack_source.h"
#include "win32/zorvane/network_stack_window.h"
#include "win32/zorvane/stack_services.h"

namespace zv::win32 {
namespace {

using main_window::main_menu::Dialog;

struct DialogRow {
    Dialog dialog;
    void (*show)(const DialogOwner& owner);
};

// In the order of main_menu::Dialog, one row per value.
constexpr DialogRow kDialogs[] = {
    {Dialog::StartupTip,
     [](const DialogOwner& o) {
         TipWindow::ShowModal(o.window, TipServicesOf(o.records, o.services));
     }},
    {Dialog::PingConfiguration,
     [](const DialogOwner& o) { o.services.ping_dialog.OpenPingDialog(o.window); }},
    {Dialog::NetworkStack,
     [](const DialogOwner& o) {
         NetworkStackWindow::ShowModal(
             o.window,
             std::make_shared<main_window::StackSource>(
                 WorkerStackPorts(o.services), MachineOf(o.records), o.records.ProgramDirectory));
     }},
};

constexpr bool EveryDialogHasItsRow() {
    for (std::size_t i = 0; i < std::size(kDialogs); ++i) {
        if (static_cast<std::size_t>(kDialogs[i].dialog) != i) {
            return false;
        }
    }
    return std::size(kDialogs) == static_cast<std::size_t>(Dialog::Count);
}
static_assert(EveryDialogHasItsRow(), "kDialogs needs one row per Dialog, in its order");

}  // namespace

void ShowMainDialog(Dialog dialog, const DialogOwner& owner) {
    kDialogs[static_cast<std::size_t>(dialog)].show(owner);
}

TipServices TipServicesOf(const main_window::ProgramRecords& records, ZorvaneServices& services) {
    return TipServices{services.files, services.tip_option, services.random,
                       records.ProgramDirectory};
}

}  // namespace zv::win32
