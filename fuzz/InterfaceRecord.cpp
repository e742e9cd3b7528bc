// Loads arbitrary bytes as an Interface record and as an "IntObj" clipboard block.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "elements/ControlElements.h"
#include "iface/ElementFactory.h"
#include "iface/InterfaceModel.h"
#include "iface/InterfaceObject.h"
#include "iface/InterfaceRecord.h"
#include "text/TextElement.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace tamber;
    static const bool registered = [] {
        RegisterControlElements(ElementFactory::Process());
        RegisterTextElement(ElementFactory::Process());
        return true;
    }();
    (void)registered;
    MemoryBlock payload(data, static_cast<int32_t>(size));
    InterfaceModel model;
    model.AdoptInterface(std::make_unique<InterfaceObject>());
    model.SetMode(InterfaceModel::Mode::Running);
    InterfaceRecord::Load(model, nullptr, payload);
    MemoryBlock written;
    InterfaceRecord::Write(model, written);
    InterfaceRecord::ReadClipboard(model, payload);
    return 0;
}
