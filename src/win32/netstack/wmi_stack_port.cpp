#include "win32/netstack/wmi_stack_port.h"

#include <windows.h>

#include <objbase.h>
#include <wbemidl.h>

#include <memory>

#include "win32/netstack/bounded_call.h"

namespace zv::win32 {
namespace {

using netstack::PortStatus;
using netstack::WmiAnswer;
using netstack::WmiClass;
using netstack::WmiInstance;

// Long enough for a provider's first load on a slow machine; a hung one costs no more.
constexpr DWORD kCallWaitMs = 20000;
constexpr LONG kNextWaitMs = 10000;

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; text != nullptr && *text != L'\0'; ++text) {
        narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
    }
    return narrow;
}

// Owns a COM interface pointer.
template <typename T>
class Com {
  public:
    Com() = default;
    ~Com() {
        if (pointer_ != nullptr) {
            pointer_->Release();
        }
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T** Out() { return &pointer_; }
    T* operator->() const { return pointer_; }
    T* get() const { return pointer_; }

  private:
    T* pointer_ = nullptr;
};

class Bstr {
  public:
    explicit Bstr(const std::wstring& text) : text_(SysAllocString(text.c_str())) {}
    ~Bstr() { SysFreeString(text_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return text_; }

  private:
    BSTR text_;
};

// No namespace or class there (Windows before 8, Wine): nothing to report as a fault.
PortStatus StatusOf(HRESULT result) {
    if (SUCCEEDED(result)) {
        return PortStatus::Ok;
    }
    if (result == WBEM_E_INVALID_NAMESPACE || result == WBEM_E_INVALID_CLASS ||
        result == WBEM_E_NOT_FOUND || result == WBEM_E_NOT_SUPPORTED) {
        return PortStatus::NotAvailable;
    }
    if (result == WBEM_E_ACCESS_DENIED || result == WBEM_E_INVALID_PARAMETER ||
        result == E_ACCESSDENIED || result == WBEM_E_PROVIDER_NOT_CAPABLE) {
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
    // Connects to ROOT\StandardCimv2 on this thread, COM already set up.
    PortStatus Connect() {
        HRESULT made = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IWbemLocator, reinterpret_cast<void**>(locator_.Out()));
        if (FAILED(made)) {
            return PortStatus::NotAvailable;
        }
        Bstr space(L"ROOT\\StandardCimv2");
        HRESULT connected = locator_->ConnectServer(space, nullptr, nullptr, nullptr, 0, nullptr,
                                                    nullptr, services_.Out());
        if (FAILED(connected)) {
            return StatusOf(connected);
        }
        CoSetProxyBlanket(services_.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                          RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
        return PortStatus::Ok;
    }

    // Every instance, each as `visit` takes it; all properties are asked, as a property a
    // release lacks would fail a query that names it.
    template <typename Visit>
    PortStatus EachInstance(WmiClass wmi_class, Visit visit) {
        Bstr language(L"WQL");
        Bstr query(std::wstring(L"SELECT * FROM ") + ClassName(wmi_class));
        Com<IEnumWbemClassObject> found;
        HRESULT asked = services_->ExecQuery(language, query,
                                             WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                             nullptr, found.Out());
        if (FAILED(asked)) {
            return StatusOf(asked);
        }
        for (;;) {
            Com<IWbemClassObject> object;
            ULONG returned = 0;
            HRESULT next = found->Next(kNextWaitMs, 1, object.Out(), &returned);
            if (next == WBEM_S_TIMEDOUT) {
                return PortStatus::Failed;
            }
            if (FAILED(next)) {
                return StatusOf(next);
            }
            if (returned == 0) {
                return PortStatus::Ok;
            }
            if (!visit(*object.get())) {
                return PortStatus::Ok;
            }
        }
    }

    IWbemServices& services() { return *services_.get(); }

  private:
    Com<IWbemLocator> locator_;
    Com<IWbemServices> services_;
};

std::string SettingNameOf(IWbemClassObject& object) {
    VARIANT value;
    VariantInit(&value);
    std::string name;
    if (SUCCEEDED(object.Get(L"SettingName", 0, &value, nullptr, nullptr)) && value.vt == VT_BSTR) {
        name = Narrow(value.bstrVal);
    }
    VariantClear(&value);
    return name;
}

std::optional<uint32_t> PropertyOf(IWbemClassObject& object, const std::string& name) {
    VARIANT value;
    VariantInit(&value);
    std::optional<uint32_t> number;
    if (SUCCEEDED(object.Get(Wide(name).c_str(), 0, &value, nullptr, nullptr))) {
        number = NumberOf(value);
    }
    VariantClear(&value);
    return number;
}

// Runs `work` in a COM apartment of its own thread, within the bounded wait.
template <typename Result, typename Work>
Result OnComThread(Result timed_out, Work work) {
    auto result = std::make_shared<Result>(timed_out);
    bool ended = RunBounded(
        [result, work] {
            if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
                return;
            }
            {
                StackSession session;
                *result = work(session);
            }
            CoUninitialize();
        },
        kCallWaitMs);
    return ended ? *result : timed_out;
}

PortStatus WriteProperty(StackSession& session, IWbemClassObject& object,
                         const std::string& property, uint32_t value) {
    std::wstring name = Wide(property);
    CIMTYPE type = CIM_EMPTY;
    VARIANT old;
    VariantInit(&old);
    HRESULT got = object.Get(name.c_str(), 0, &old, &type, nullptr);
    VariantClear(&old);
    if (FAILED(got)) {
        return StatusOf(got);
    }
    VARIANT given;
    VariantInit(&given);
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
    return StatusOf(
        session.services().PutInstance(&object, WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr));
}

}  // namespace

WmiAnswer Win32WmiPort::Query(WmiClass wmi_class, const std::vector<std::string>& properties) {
    return OnComThread(
        WmiAnswer{PortStatus::Failed, {}}, [wmi_class, properties](StackSession& session) {
            WmiAnswer answer;
            answer.status = session.Connect();
            if (answer.status != PortStatus::Ok) {
                return answer;
            }
            answer.status = session.EachInstance(wmi_class, [&](IWbemClassObject& object) {
                WmiInstance instance;
                if (wmi_class == WmiClass::TcpSetting) {
                    instance.setting_name = SettingNameOf(object);
                }
                for (const std::string& property : properties) {
                    if (std::optional<uint32_t> number = PropertyOf(object, property)) {
                        instance.properties.emplace_back(property, *number);
                    }
                }
                answer.instances.push_back(std::move(instance));
                return true;
            });
            return answer;
        });
}

PortStatus Win32WmiPort::Write(WmiClass wmi_class, const std::string& setting_name,
                               const std::string& property, uint32_t value) {
    return OnComThread(PortStatus::Failed, [=](StackSession& session) {
        PortStatus status = session.Connect();
        if (status != PortStatus::Ok) {
            return status;
        }
        PortStatus written = PortStatus::NotAvailable;
        status = session.EachInstance(wmi_class, [&](IWbemClassObject& object) {
            if (wmi_class == WmiClass::TcpSetting && SettingNameOf(object) != setting_name) {
                return true;
            }
            written = WriteProperty(session, object, property, value);
            return false;
        });
        return status == PortStatus::Ok ? written : status;
    });
}

}  // namespace zv::win32
