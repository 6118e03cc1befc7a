// A row of a table that walks the members of a struct: the name a file or the registry
// gives the member, and the member.
#pragma once

namespace zv {

template <typename Owner, typename T>
struct NamedMember {
    const char* name;
    T Owner::*member;
};

}  // namespace zv
