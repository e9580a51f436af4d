#include "records/object_list.h"

ObjectList ObjectList::read(std::istream& in)
{
    ObjectList list;
    std::string type;
    std::string name;
    while (in >> type >> name) list.add(type, name);
    return list;
}

void ObjectList::add(const std::string& type, const std::string& name)
{
    names_.emplace(type, name);
}

std::optional<std::string> ObjectList::lookup(std::string_view word) const
{
    const std::string* name = find(word);
    if (!name) return std::nullopt;
    return *name;
}

const std::string* ObjectList::find(std::string_view word) const
{
    auto found = names_.find(word);
    if (found == names_.end() || found->second == "X_UNKNOWN") return nullptr;
    return &found->second;
}
