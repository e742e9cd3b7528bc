// Builds arbitrary bytes as the JSON description of an Interface in a project, then writes the
// record, as tamberlyne build does for each Interface file.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/InterfaceRecord.h"
#include "tamberlyne/ProjectReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace tamber;
    static const bool registered = [] {
        tamberlyne::ProjectReader::RegisterElementClasses();
        return true;
    }();
    (void)registered;
    tamberlyne::Json description = tamberlyne::Json::parse(data, data + size, nullptr, false);
    if (!description.is_object())
        return 0;
    // Relative file names lead nowhere, so only the description itself is read.
    const std::map<std::string, uint32_t> media = {{"logo", 1}, {"#1", 1}, {"help", 2}, {"#2", 2}};
    InterfaceModel model;
    model.AdoptInterface(std::make_unique<InterfaceObject>());
    std::vector<std::string> errors;
    if (tamberlyne::ProjectReader::BuildInterface(description, "/nonexistent/fuzz/interface.json", "interface.json",
            media, model, errors)) {
        MemoryBlock record;
        InterfaceRecord::Write(model, record);
    }
    return 0;
}
