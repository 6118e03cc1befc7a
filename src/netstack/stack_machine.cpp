#include "netstack/stack_machine.h"

namespace zv::netstack {
namespace {

constexpr uint32_t kBuild1709 = 16299;
constexpr uint32_t kBuild24H2 = 26100;

}  // namespace

StackReach StackMachine::Reach() const {
    if (release < WindowsRelease::Vista) {
        return StackReach::None;
    }
    bool before8 = detail.major == 6 && detail.minor < 2;
    return detail.major < 6 || before8 ? StackReach::Netsh : StackReach::Wmi;
}

bool StackMachine::CubicByDefault() const {
    return detail.major >= 10 && detail.build >= kBuild1709;
}

bool StackMachine::Bbr2LoopbackHang() const {
    return detail.major >= 10 && detail.build >= kBuild24H2;
}

}  // namespace zv::netstack
