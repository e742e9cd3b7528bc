#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/MemoryBlock.h"
#include "iface/AttributeValue.h"
#include "iface/CardGeometry.h"
#include "iface/ClassDefinition.h"
#include "iface/ElementLinks.h"
#include "iface/MediaRef.h"
#include "iface/UserAttributeBlock.h"

namespace tamber {

class InterfaceModel;

// The base of everything that stands on a Card or the Background of an Interface, and of the
// Interface object itself. It holds what every element has in common and the generic
// machinery through which scripts reach any element: GetAttribute, SetAttribute, CallMethod
// and ExecuteEvent, driven by the element's private copy of its class tables. A class answers
// its own names first and passes the rest down to this base.
//
// The element has no display here: Create, Show, Hide and Destroy are hooks for the classes
// that build a visible representation.
class Element {
public:
    static constexpr int32_t kSelfRoleId = -1;
    static constexpr int kMaxNameLength = 31;
    static constexpr int32_t kChunkCountSize = 2;

    explicit Element(InterfaceModel* parent = nullptr, int32_t ownerData = 0);
    virtual ~Element();
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    // Class tables.
    int LoadClassDefinition(uint16_t classId);
    const ClassDefinition& Definition() const { return m_definition; }
    const std::vector<AttributeDef>& AttributeTable() const { return m_definition.attributes; }
    const std::vector<MethodDef>& MethodTable() const { return m_definition.methods; }
    const std::vector<EventDef>& EventTable() const { return m_definition.events; }
    // The tables every element shares; an object in the self role has no common attributes.
    const std::vector<AttributeDef>& CommonAttributeTable() const;
    static const std::vector<AttributeDef>& CommonAttributes();
    static const std::vector<MethodDef>& CommonMethods();
    static const std::vector<EventDef>& CommonEvents();

    // Attributes: 1 when handled, 0 when the name is unknown or the type differs.
    virtual int GetAttribute(std::string_view name, ValueType type, AttributeValue& value);
    virtual int SetAttribute(std::string_view name, ValueType type, const AttributeValue& value);
    // Methods: the class's own, then the common ones, then the built-in functions.
    virtual int CallMethod(std::string_view name, std::span<const AttributeValue> params,
        AttributeValue& result);
    // Runs the element's handler for the event through the installed script host. handled,
    // when given, tells whether a handler ran. Answers 1 when a handler ran.
    virtual int ExecuteEvent(std::string_view name, int32_t hotLink,
        std::span<const AttributeValue> params, bool* handled = nullptr);
    int RaiseEvent(std::string_view name, std::span<const AttributeValue> params = {});

    // User attributes and events. Names must be new; only user-defined ones can be removed.
    int AddUserAttribute(std::string_view name, ValueType type);
    int RemoveUserAttribute(std::string_view name);
    int AddUserEvent(const EventDef& definition);
    int RemoveUserEvent(std::string_view name);
    // Inserts a definition for an attribute or event read from a stored element.
    void AddAttributeDefinition(std::string_view name, ValueType type, AttributeFlags flags);
    void AddEventDefinition(const EventDef& definition);
    UserAttributeBlock& UserAttributes() { return m_userAttributes; }
    const UserAttributeBlock& UserAttributes() const { return m_userAttributes; }
    UserAttributeBlock& SelfUserAttributes() { return m_selfUserAttributes; }
    MemoryBlock& UserEvents() { return m_userEvents; }
    const MemoryBlock& UserEvents() const { return m_userEvents; }

    // Stored form: the class's own chunks. WriteClassChunks answers the number of chunks
    // appended; ReadClassChunk answers whether the tag was the class's own.
    virtual int WriteClassChunks(MemoryBlock& out) const { return 0; }
    virtual bool ReadClassChunk(std::string_view tag, const MemoryBlock& payload) { return false; }

    // Visible representation (built by the classes that have one).
    virtual void Create() { }
    virtual void Show() { }
    virtual void Hide() { }
    virtual void Destroy() { }
    // Loads what the element shows from its media ahead of showing it: when its Card is about
    // to be shown, and for "LoadCard". The base has nothing to load.
    virtual void PrepareMedia() { }
    // The platform handle of the element's window, else of its secondary window, else 0.
    virtual intptr_t WindowHandle() const { return 0; }

    // Media.
    virtual void SetMedia(const MediaDatabase* database, int32_t mediaId);
    // Around a script's write of a Media attribute: media elements let go of what they show
    // before, and load the new media after (only when it names an existing id).
    virtual void PrepareMediaChange() { }
    virtual void MediaChanged() { }
    MediaRef GetMedia() const { return m_media; }
    const MediaDatabase* Database() const;

    // Identity and geometry.
    InterfaceModel* Parent() const { return m_parent; }
    void SetParent(InterfaceModel* parent) { m_parent = parent; }
    int32_t OwnerData() const { return m_ownerData; }
    const std::string& GetTypeName() const { return m_typeName; }
    int32_t GetId() const { return m_id; }
    void SetId(int32_t id) { m_id = id; }
    bool IsSelfRole() const { return m_id == kSelfRoleId; }
    const std::string& GetName() const { return m_name; }
    void SetName(std::string_view name);
    const std::string& SecondName() const { return m_secondName; }
    CardRect GetFrame() const { return m_frame; }
    void SetFrame(const CardRect& frame) { m_frame = frame; }
    // Where the element's own window goes, in Card coordinates: the frame, unless the class's
    // window is larger (a standard control is one pixel wider and taller).
    virtual CardRect WindowFrame() const { return m_frame; }
    CardPoint GetAnchor() const { return m_anchor; }
    void SetAnchor(CardPoint anchor) { m_anchor = anchor; }

    bool IsVisible() const { return m_visible; }
    bool IsEnabled() const { return m_enabled; }
    bool MouseEvents() const { return m_mouseEvents; }
    bool SpawnPopups() const { return m_spawnPopups; }
    bool Attached(int side) const { return m_attach[side]; }
    enum AttachSide { kAttachLeft = 0, kAttachTop = 1, kAttachRight = 2, kAttachBottom = 3 };

    // Script text, handler index and target table.
    MemoryBlock& Script() { return m_script; }
    MemoryBlock& Tokens() { return m_tokens; }
    MemoryBlock& Targets() { return m_targets; }
    const MemoryBlock& Script() const { return m_script; }
    const MemoryBlock& Tokens() const { return m_tokens; }
    const MemoryBlock& Targets() const { return m_targets; }

    // When false, the element block reader skips "Scrp", "Tokn", "Tgts", "UAtt" and "UEvn".
    bool LoadAllChunks() const { return m_loadAllChunks; }
    void SetLoadAllChunks(bool all) { m_loadAllChunks = all; }

    // Link attributes.
    ElementLinks& Links() { return m_links; }
    const ElementLinks& Links() const { return m_links; }
    // Re-resolves every link against the element's Card.
    void ResolveLinks() { m_links.ResolveAll(*this); }
    // The element a link id names: one of the class on the element's Card, else none.
    virtual Element* ResolveLink(int32_t id, std::string_view typeName) const;

    // The element block: a 16-bit chunk count, then "Objt" (the Interface's own element block:
    // "Objp"), "Scrp", "Tokn", "Tgts", "UAtt", "UEvn" and the class chunks. Write answers the
    // bytes appended; Read the bytes consumed. The reader takes the chunks in any order, hands
    // unknown tags to the class and skips those the class does not know; chunks the count
    // promises but the block lacks read as empty.
    virtual int32_t WriteElementBlock(MemoryBlock& out) const;
    virtual int32_t ReadElementBlock(const MemoryBlock& block, int32_t offset);

    // Stored common data ("Objt"). A payload without the mouse-events byte reads it as false.
    void WriteCommonData(MemoryBlock& out) const;
    void ReadCommonData(const MemoryBlock& payload);

protected:
    void SetTypeName(std::string_view typeName) { m_typeName = std::string(typeName); }
    void SetLinkNames(ElementLinks links) { m_links = std::move(links); }
    // Tells the parent that the element's stored state changed.
    void MarkModified();
    ClassDefinition& MutableDefinition() { return m_definition; }

    // Frame and state changes with their events, shared by attributes and methods.
    void MoveTo(int32_t left, int32_t top, bool force);
    void SizeTo(int32_t width, int32_t height);
    void SetVisible(bool visible);
    void SetEnabled(bool enabled);

private:
    int GetCommonAttribute(std::string_view name, ValueType type, AttributeValue& value);
    int SetCommonAttribute(std::string_view name, ValueType type, const AttributeValue& value);
    int GetLinkOrTableAttribute(std::string_view name, ValueType type, AttributeValue& value);
    int SetLinkOrTableAttribute(std::string_view name, ValueType type, const AttributeValue& value);
    int CallCommonMethod(std::string_view name, std::span<const AttributeValue> params);
    void ReadStandardChunk(std::string_view tag, const MemoryBlock& payload);

    friend struct ElementAccess;

    InterfaceModel* m_parent = nullptr;
    int32_t m_ownerData = 0;
    ClassDefinition m_definition;
    UserAttributeBlock m_userAttributes;
    UserAttributeBlock m_selfUserAttributes;
    MemoryBlock m_userEvents;
    MediaRef m_media;
    int32_t m_id = 0;
    std::string m_name;
    std::string m_typeName = "Unknown";
    std::string m_secondName;
    CardRect m_frame;
    bool m_attach[4] = {false, false, false, false};
    bool m_spawnPopups = true;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_mouseEvents = false;
    MemoryBlock m_script;
    MemoryBlock m_tokens;
    MemoryBlock m_targets;
    bool m_loadAllChunks = true;
    CardPoint m_anchor;
    ElementLinks m_links;
};

}  // namespace tamber
