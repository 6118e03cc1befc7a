#include "win32/netstack/wmi_stack_port.h"

#include <windows.h>

#include <objbase.h>
#include <wbemidl.h>

#include <memory>

#include "win32/netstack/bounded_call.h"
#include "win32/platform/com_ref.h"
#include "win32/platform/wide_text.h"

namespace zv::win32 {
namespace {

using netstack::PortStatus;
using netstack::WmiAnswer;
using netstack::WmiClass;
using netstack::WmiInstance;

// Long enough for a provider's first load on a slow machine; a hung one costs no more.
constexpr DWORD kCallWaitMs = 20000;
constexpr LONG kNextWaitMs = 10000;

// The COM functions a call needs, looked up on the caller's thread before the worker
// starts; null where this Windows lacks one.
struct ComFunctions {
    HRESULT(WINAPI* initialize)(LPVOID, DWORD);
    void(WINAPI* uninitialize)();
    HRESULT(WINAPI* create)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    HRESULT(WINAPI* blanket)
    (IUnknown*, DWORD, DWORD, OLECHAR*, DWORD, DWORD, RPC_AUTH_IDENTITY_HANDLE, DWORD);
    BSTR(WINAPI* alloc)(const OLECHAR*);
    void(WINAPI* free)(BSTR);
    HRESULT(WINAPI* clear)(VARIANTARG*);

    bool complete() const {
        return initialize && uninitialize && create && blanket && alloc && free && clear;
    }
};

ComFunctions FunctionsOf(SystemLibrary& ole32, SystemLibrary& oleaut32) {
    return {ole32.Function<decltype(ComFunctions::initialize)>("CoInitializeEx"),
            ole32.Function<decltype(ComFunctions::uninitialize)>("CoUninitialize"),
            ole32.Function<decltype(ComFunctions::create)>("CoCreateInstance"),
            ole32.Function<decltype(ComFunctions::blanket)>("CoSetProxyBlanket"),
            oleaut32.Function<decltype(ComFunctions::alloc)>("SysAllocString"),
            oleaut32.Function<decltype(ComFunctions::free)>("SysFreeString"),
            oleaut32.Function<decltype(ComFunctions::clear)>("VariantClear")};
}

class Bstr {
  public:
    Bstr(const ComFunctions& com, const WideText& text)
        : com_(com), text_(com.alloc(text.c_str())) {}
    ~Bstr() { com_.free(text_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return text_; }

  private:
    const ComFunctions& com_;
    BSTR text_;
};

// A VARIANT cleared when it goes out of scope.
class Variant {
  public:
    explicit Variant(const ComFunctions& com) : com_(com), value_(EmptyVariant()) {}
    ~Variant() { com_.clear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* out() { return &value_; }
    const VARIANT& get() const { return value_; }

  private:
    const ComFunctions& com_;
    VARIANT value_;
};

std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; text != nullptr && *text != L'\0'; ++text) {
        narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
    }
    return narrow;
}

// No namespace or class there (Windows before 8, Wine): nothing to report as a fault.
PortStatus StatusOf(HRESULT result) {
    if (SUCCEEDED(result)) {
        return PortStatus::Ok;
    }
    // WBEMSTATUS is an unsigned enumeration; HRESULT a signed one.
    auto code = static_cast<uint32_t>(result);
    if (code == WBEM_E_INVALID_NAMESPACE || code == WBEM_E_INVALID_CLASS ||
        code == WBEM_E_NOT_FOUND || code == WBEM_E_NOT_SUPPORTED) {
        return PortStatus::NotAvailable;
    }
    if (code == WBEM_E_ACCESS_DENIED || code == WBEM_E_INVALID_PARAMETER ||
        result == E_ACCESSDENIED || code == WBEM_E_PROVIDER_NOT_CAPABLE) {
        return PortStatus::Refused;
    }
    return PortStatus::Failed;
}

const wchar_t* ClassName(WmiClass wmi_class) {
    return wmi_class == WmiClass::TcpSetting ? L"MSFT_NetTCPSetting"
                                             : L"MSFT_NetOffloadGlobalSetting";
}

std::optional<uint32_t> NumberOf(const VARIANT& value) {
    switch (value.vt) {
        case VT_UI1:
            return value.bVal;
        case VT_I2:
            return static_cast<uint32_t>(value.iVal);
        case VT_UI2:
            return value.uiVal;
        case VT_I4:
            return static_cast<uint32_t>(value.lVal);
        case VT_UI4:
            return value.ulVal;
        case VT_BOOL:
            return value.boolVal != VARIANT_FALSE ? 1u : 0u;
        default:
            return std::nullopt;
    }
}

class StackSession {
  public:
    explicit StackSession(const ComFunctions& com) : com_(com) {}

    // Connects to ROOT\StandardCimv2 on this thread, COM already set up.
    PortStatus Connect() {
        HRESULT made = com_.create(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWbemLocator, locator_.out_void());
        if (FAILED(made)) {
            return PortStatus::NotAvailable;
        }
        Bstr space(com_, L"ROOT\\StandardCimv2");
        HRESULT connected = locator_->ConnectServer(space, nullptr, nullptr, nullptr, 0, nullptr,
                                                    nullptr, services_.out());
        if (FAILED(connected)) {
            return StatusOf(connected);
        }
        com_.blanket(services_.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                     RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
        return PortStatus::Ok;
    }

    // Every instance, each as `visit` takes it (false: no more); all properties are asked,
    // as a property a release lacks would fail a query that names it.
    template <typename Visit>
    PortStatus EachInstance(WmiClass wmi_class, Visit visit) {
        Bstr language(com_, L"WQL");
        Bstr query(com_, WideText(L"SELECT * FROM ") + ClassName(wmi_class));
        ComRef<IEnumWbemClassObject> found;
        HRESULT asked = services_->ExecQuery(language, query,
                                             WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                             nullptr, found.out());
        if (FAILED(asked)) {
            return StatusOf(asked);
        }
        for (;;) {
            ComRef<IWbemClassObject> object;
            ULONG returned = 0;
            HRESULT next = found->Next(kNextWaitMs, 1, object.out(), &returned);
            if (next == WBEM_S_TIMEDOUT) {
                return PortStatus::Failed;
            }
            if (FAILED(next)) {
                return StatusOf(next);
            }
            if (returned == 0 || !visit(*object.get())) {
                return PortStatus::Ok;
            }
        }
    }

    std::string SettingNameOf(IWbemClassObject& object) {
        Variant value(com_);
        bool named = SUCCEEDED(object.Get(L"SettingName", 0, value.out(), nullptr, nullptr)) &&
                     value.get().vt == VT_BSTR;
        return named ? Narrow(value.get().bstrVal) : std::string();
    }

    std::optional<uint32_t> PropertyOf(IWbemClassObject& object, const std::string& name) {
        Variant value(com_);
        if (FAILED(object.Get(WideFromAnsi(name).c_str(), 0, value.out(), nullptr, nullptr))) {
            return std::nullopt;
        }
        return NumberOf(value.get());
    }

    // Sets the property as the type WMI gives it, and saves the instance.
    PortStatus WriteProperty(IWbemClassObject& object, const std::string& property,
                             uint32_t value) {
        WideText name = WideFromAnsi(property);
        CIMTYPE type = CIM_EMPTY;
        Variant old(com_);
        HRESULT got = object.Get(name.c_str(), 0, old.out(), &type, nullptr);
        if (FAILED(got)) {
            return StatusOf(got);
        }
        VARIANT given = EmptyVariant();
        if (type == CIM_UINT8) {
            given.vt = VT_UI1;
            given.bVal = static_cast<BYTE>(value);
        } else {
            given.vt = VT_I4;
            given.lVal = static_cast<LONG>(value);
        }
        HRESULT put = object.Put(name.c_str(), 0, &given, 0);
        if (FAILED(put)) {
            return StatusOf(put);
        }
        return StatusOf(services_->PutInstance(&object, WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr));
    }

  private:
    const ComFunctions& com_;
    ComRef<IWbemLocator> locator_;
    ComRef<IWbemServices> services_;
};

// Runs `work` in a COM apartment of its own thread, within the bounded wait; `missing`
// where this Windows lacks COM's functions.
template <typename Result, typename Work>
Result OnComThread(const ComFunctions& com, Result missing, Result timed_out, Work work) {
    if (!com.complete()) {
        return missing;
    }
    auto result = std::make_shared<Result>(timed_out);
    bool ended = RunBounded(
        [com, result, work] {
            if (FAILED(com.initialize(nullptr, COINIT_MULTITHREADED))) {
                return;
            }
            {
                StackSession session(com);
                *result = work(session);
            }
            com.uninitialize();
        },
        kCallWaitMs);
    return ended ? *result : timed_out;
}

}  // namespace

WmiAnswer Win32WmiPort::Query(WmiClass wmi_class, const std::vector<std::string>& properties) {
    WmiAnswer missing{PortStatus::NotAvailable, {}};
    WmiAnswer timed_out{PortStatus::Failed, {}};
    return OnComThread(
        FunctionsOf(ole32_, oleaut32_), missing, timed_out,
        [wmi_class, properties](StackSession& session) {
            WmiAnswer answer;
            answer.status = session.Connect();
            if (answer.status != PortStatus::Ok) {
                return answer;
            }
            answer.status = session.EachInstance(wmi_class, [&](IWbemClassObject& object) {
                WmiInstance instance;
                if (wmi_class == WmiClass::TcpSetting) {
                    instance.setting_name = session.SettingNameOf(object);
                }
                for (const std::string& property : properties) {
                    if (std::optional<uint32_t> number = session.PropertyOf(object, property)) {
                        instance.properties.emplace_back(property, *number);
                    }
                }
                answer.rows.push_back(std::move(instance));
                return true;
            });
            return answer;
        });
}

PortStatus Win32WmiPort::Write(WmiClass wmi_class, const std::string& setting_name,
                               const std::string& property, uint32_t value) {
    // A write given up on may still be saved by the provider: it is told as not known.
    return OnComThread(FunctionsOf(ole32_, oleaut32_), PortStatus::NotAvailable,
                       PortStatus::TimedOut, [=](StackSession& session) {
                           PortStatus status = session.Connect();
                           if (status != PortStatus::Ok) {
                               return status;
                           }
                           PortStatus written = PortStatus::NotAvailable;
                           status = session.EachInstance(wmi_class, [&](IWbemClassObject& object) {
                               if (wmi_class == WmiClass::TcpSetting &&
                                   session.SettingNameOf(object) != setting_name) {
                                   return true;
                               }
                               written = session.WriteProperty(object, property, value);
                               return false;
                           });
                           return status == PortStatus::Ok ? written : status;
                       });
}

}  // namespace zv::win32
