#pragma once
// Settings objects: a tree of small objects whose published properties are described by
// one table per class. The table is the single mechanism through which defaults are
// applied, children are created, objects are copied and the settings file is read and
// written, so adding a property means adding one table row.
//
// Every settings object is made by TQorvelSettings::Create<T>() (a root, owned by the
// caller) or Create<T>(parent) (a child, owned by its parent), or through a class
// reference. Creation runs in this order:
//   1. the C++ constructor (plain fields only),
//   2. one child object for every published class property, in table order,
//   3. AfterCreateChildren() (what a constructor would do with its children),
//   4. SetDefaults().
// C++ constructors cannot reach the overrides of derived classes, hence the phases.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "settings/QorvelErrors.h"
#include "settings/QorvelHashes.h"
#include "settings/QorvelValueRanges.h"
#include "base/QorvelTypes.h"

class TQorvelSettings;
class TQorvelSettingsClass;
class TQorvelSettingsReader;
class TQorvelSettingsWriter;
class IQorvelSettingsFileSystem;
class IQorvelSettingsPrompt;

class EQorvelSettingsError : public EQorvelError {
 public:
  using EQorvelError::EQorvelError;
};

// ---------------------------------------------------------------------------------------
// Property descriptions

enum class TQorvelTypeKind {
  Integer,      // 32-bit signed; TColor is an integer whose type name is "TColor"
  Char,         // ordinal, neither copied nor persisted
  Enumeration,  // Boolean included; persisted by identifier
  Set,          // up to 32 members as a mask, bit n = member n
  Float,        // TDateTime (type name "TDateTime") or another double
  String,       // 8-bit text
  WideString,   // UTF-16 text
  Int64,
  Class,  // a child settings object or a string list
};

// The identifiers of an enumeration type by ordinal. A set property refers to the
// enumeration of its members.
struct TQorvelEnumInfo {
  std::string_view Name;
  std::span<const std::string_view> Identifiers;

  int Count() const { return static_cast<int>(Identifiers.size()); }
  // Empty outside 0..Count()-1.
  std::string_view IdentifierOf(int ordinal) const;
  // Matched case-insensitively (ASCII); -1 when the type has no such identifier.
  int OrdinalOf(std::string_view identifier) const;
};

inline constexpr std::string_view BooleanIdentifiers[] = {"False", "True"};
inline constexpr TQorvelEnumInfo BooleanTypeInfo{"Boolean", BooleanIdentifiers};

inline constexpr std::string_view WindowStateIdentifiers[] = {"wsNormal", "wsMinimized", "wsMaximized"};
inline constexpr TQorvelEnumInfo WindowStateTypeInfo{"TWindowState", WindowStateIdentifiers};

using TQorvelStrings = std::vector<std::string>;

// Getter and optional setter of one property, in the value type of its kind.
template <class V>
struct TQorvelAccessor {
  std::function<V(const TQorvelSettings&)> Get;
  std::function<void(TQorvelSettings&, V)> Set;  // empty: read-only
};

using TQorvelPropertyAccess = std::variant<TQorvelAccessor<std::int32_t>,      // Integer, Char, Enumeration, Set
                                           TQorvelAccessor<double>,            // Float
                                           TQorvelAccessor<std::string>,       // String
                                           TQorvelAccessor<std::u16string>,    // WideString
                                           TQorvelAccessor<std::int64_t>,      // Int64
                                           TQorvelAccessor<TQorvelSettings*>,  // Class: settings child
                                           TQorvelAccessor<TQorvelStrings>>;   // Class: string list

enum class TQorvelStoredMode { Always, Never, Conditional };

// One published property. Rows are made by the QorvelPublish functions below; the class
// description fills in Owner.
struct TQorvelPropertyInfo {
  std::string Name;
  TQorvelTypeKind Kind = TQorvelTypeKind::Integer;
  std::string TypeName;                              // "Integer", "TColor", "Boolean", a class name ...
  const TQorvelEnumInfo* EnumType = nullptr;         // Enumeration: its type; Set: its member type
  const TQorvelSettingsClass* ChildClass = nullptr;  // Class kind with a settings child
  std::optional<std::int32_t> Default;               // declared default (ordinal kinds only)
  TQorvelStoredMode StoredMode = TQorvelStoredMode::Always;
  std::function<bool(const TQorvelSettings&)> StoredIf;  // for Conditional
  TQorvelPropertyAccess Access;
  const TQorvelSettingsClass* Owner = nullptr;  // the class whose table declares it
  // What a loaded value is held to (integers, strings and string lists); none: any value.
  std::optional<TQorvelValueRange> Range;

  bool IsOrdinal() const;
  bool IsSettingsChild() const { return std::holds_alternative<TQorvelAccessor<TQorvelSettings*>>(Access); }
  bool IsStringList() const { return std::holds_alternative<TQorvelAccessor<TQorvelStrings>>(Access); }
  bool HasGetter() const;
  bool HasSetter() const;
  bool IsStored(const TQorvelSettings& object) const;

  // Typed access. Each throws EQorvelSettingsError when the property is of another kind,
  // the object is not of the declaring class, or (setters) the property is read-only.
  // Enumeration ordinals and set masks are checked against the type's members.
  std::int32_t GetOrdinal(const TQorvelSettings& object) const;
  void SetOrdinal(TQorvelSettings& object, std::int32_t value) const;
  double GetFloat(const TQorvelSettings& object) const;
  void SetFloat(TQorvelSettings& object, double value) const;
  std::string GetString(const TQorvelSettings& object) const;
  void SetString(TQorvelSettings& object, std::string value) const;
  std::u16string GetWideString(const TQorvelSettings& object) const;
  void SetWideString(TQorvelSettings& object, std::u16string value) const;
  std::int64_t GetInt64(const TQorvelSettings& object) const;
  void SetInt64(TQorvelSettings& object, std::int64_t value) const;
  TQorvelSettings* GetChild(const TQorvelSettings& object) const;
  void SetChild(TQorvelSettings& object, TQorvelSettings* child) const;
  TQorvelStrings GetStrings(const TQorvelSettings& object) const;
  void SetStrings(TQorvelSettings& object, TQorvelStrings value) const;

  // Modifiers used while building a table.
  TQorvelPropertyInfo NeverStored() &&;
  // The ranges a loaded value is held to; see TQorvelValueRange.
  TQorvelPropertyInfo Between(std::int32_t min, std::int32_t max) &&;
  TQorvelPropertyInfo Choice(std::int32_t count) &&;
  TQorvelPropertyInfo OneOf(std::vector<std::int32_t> values) &&;
  TQorvelPropertyInfo LowBit() &&;
  TQorvelPropertyInfo AtMost(std::int32_t count) &&;
  template <class C>
  TQorvelPropertyInfo StoredWhen(bool (C::*predicate)() const) && {
    StoredMode = TQorvelStoredMode::Conditional;
    StoredIf = [predicate](const TQorvelSettings& object) { return (static_cast<const C&>(object).*predicate)(); };
    return std::move(*this);
  }

 private:
  bool OrdinalInRange(std::int32_t value) const;
  template <class V>
  const TQorvelAccessor<V>& AccessorFor(const TQorvelSettings& object, const char* kindName) const;
};

// Names compare case-insensitively with ASCII letters folded to upper case (bit 5
// cleared); this is the order of every property table.
bool QorvelPropertyNameLess(std::string_view a, std::string_view b);
bool QorvelPropertyNameEquals(std::string_view a, std::string_view b);

// ---------------------------------------------------------------------------------------
// Class references

// What the framework knows about one settings class: its name, its base, how to create
// an instance, and its published properties (inherited ones included), sorted by name.
class TQorvelSettingsClass {
 public:
  class TCreationKey;
  using TFactory = TQorvelSettings* (*)(const TCreationKey&, TQorvelSettings* parent);

  TQorvelSettingsClass(std::string name, const TQorvelSettingsClass* base, TFactory factory,
                       std::vector<TQorvelPropertyInfo> ownProperties);
  TQorvelSettingsClass(const TQorvelSettingsClass&) = delete;
  TQorvelSettingsClass& operator=(const TQorvelSettingsClass&) = delete;

  const std::string& ClassName() const { return FName; }
  const TQorvelSettingsClass* Base() const { return FBase; }
  bool InheritsFrom(const TQorvelSettingsClass& other) const;

  const std::vector<TQorvelPropertyInfo>& Properties() const { return FProperties; }
  // Case-insensitive lookup; nullptr when the class has no such property.
  const TQorvelPropertyInfo* FindProperty(std::string_view name) const;

  // A new, completely created instance (children, AfterCreateChildren, defaults).
  std::unique_ptr<TQorvelSettings> Create() const;         // a root, owned by the caller
  TQorvelSettings* Create(TQorvelSettings& parent) const;  // owned by `parent`

  template <class T>
  static TQorvelSettings* Instantiate(const TCreationKey& key, TQorvelSettings* parent) {
    return new T(key, parent);
  }

 private:
  TQorvelSettings* CreateInstance(TQorvelSettings* parent) const;

  std::string FName;
  const TQorvelSettingsClass* FBase;
  TFactory FFactory;
  std::vector<TQorvelPropertyInfo> FProperties;
};

// Only a class reference can make one, so no settings object escapes half-created.
class TQorvelSettingsClass::TCreationKey {
  friend class TQorvelSettingsClass;
  TCreationKey() = default;
};

// ---------------------------------------------------------------------------------------
// Settings objects

class TQorvelSettings {
 public:
  using TCreationKey = TQorvelSettingsClass::TCreationKey;

  TQorvelSettings(const TCreationKey&, TQorvelSettings* parent);
  // Leaves the parent's Children, then destroys the own children.
  virtual ~TQorvelSettings();
  TQorvelSettings(const TQorvelSettings&) = delete;
  TQorvelSettings& operator=(const TQorvelSettings&) = delete;

  template <class T>
  static std::unique_ptr<T> Create() {
    return std::unique_ptr<T>(static_cast<T*>(T::StaticClass().Create().release()));
  }
  template <class T>
  static T* Create(TQorvelSettings& parent) {
    return static_cast<T*>(T::StaticClass().Create(parent));
  }

  // The overridable operations, in their fixed order. Creation through a class reference
  // (TQorvelSettingsClass::Create) stands in the place of a virtual constructor.
  virtual bool AutoCreateChildren() const { return true; }
  // Called by the reader for every child element before the property lookup; returns
  // whether the element was consumed.
  virtual bool ReadCustomElement(TQorvelSettingsReader& reader, const std::string& elementName,
                                 const std::u16string& nameAttribute);
  // Called by the writer before the published properties are written.
  virtual void WriteCustomElements(TQorvelSettingsWriter& writer);
  // Writes every declared default of an ordinal property through its setter. Overrides
  // call the base first and then adjust their children.
  virtual void SetDefaults();

  // Every class overrides ClassType with its own StaticClass.
  static const TQorvelSettingsClass& StaticClass();
  virtual const TQorvelSettingsClass& ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType().ClassName(); }

  TQorvelSettings* Parent() const { return FParent; }
  const std::vector<TQorvelSettings*>& Children() const { return FChildren; }

  // Property lookup by name on this object's class; PropertyByName throws when absent.
  const TQorvelPropertyInfo* FindProperty(std::string_view name) const { return ClassType().FindProperty(name); }
  const TQorvelPropertyInfo& PropertyByName(std::string_view name) const;

 protected:
  // Runs once the published children exist, before SetDefaults. Overrides call the base
  // first.
  virtual void AfterCreateChildren() {}

 private:
  friend class TQorvelSettingsClass;
  void CreatePublishedChildren();

  TQorvelSettings* FParent;
  std::vector<TQorvelSettings*> FChildren;  // owned, in creation order
};

// Holds every value of `settings` and of all its descendants to the range its property
// declares (QorvelValueRanges.cpp). Loading does it once the file has been read.
void QorvelHoldToRanges(TQorvelSettings& settings);

class TQorvelCopyableSettings : public TQorvelSettings {
 public:
  using TQorvelSettings::TQorvelSettings;

  // Runs at the end of Assign, for data the property table does not describe.
  virtual void AssignCustom(const TQorvelSettings& source);
  // Copies every published value from an object of exactly this class; copyable
  // children are assigned recursively.
  virtual void Assign(const TQorvelSettings& source);

  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }
};

// ---------------------------------------------------------------------------------------
// Building property tables
//
// One function per kind; each takes the member the value lives in (or a getter and an
// optional setter) and, for ordinal kinds, the declared default.

namespace QorvelPublish {

namespace Detail {

template <class C, class V>
TQorvelAccessor<std::int32_t> OrdinalField(V C::*field) {
  return {[field](const TQorvelSettings& o) { return static_cast<std::int32_t>(static_cast<const C&>(o).*field); },
          [field](TQorvelSettings& o, std::int32_t v) { static_cast<C&>(o).*field = static_cast<V>(v); }};
}

template <class C, class E>
TQorvelAccessor<std::int32_t> SetField(TQorvelSet<E> C::*field) {
  return {
      [field](const TQorvelSettings& o) { return static_cast<std::int32_t>((static_cast<const C&>(o).*field).Mask()); },
      [field](TQorvelSettings& o, std::int32_t v) {
        static_cast<C&>(o).*field = TQorvelSet<E>::FromMask(static_cast<std::uint32_t>(v));
      }};
}

template <class C, class V>
TQorvelAccessor<V> ValueField(V C::*field) {
  return {[field](const TQorvelSettings& o) { return static_cast<const C&>(o).*field; },
          [field](TQorvelSettings& o, V v) { static_cast<C&>(o).*field = std::move(v); }};
}

template <class C, class V>
TQorvelAccessor<V> ValueMethods(V (C::*getter)() const, std::type_identity_t<void (C::*)(V)> setter) {
  TQorvelAccessor<V> access;
  access.Get = [getter](const TQorvelSettings& o) { return (static_cast<const C&>(o).*getter)(); };
  if (setter) access.Set = [setter](TQorvelSettings& o, V v) { (static_cast<C&>(o).*setter)(std::move(v)); };
  return access;
}

TQorvelPropertyInfo Row(std::string_view name, TQorvelTypeKind kind, std::string_view typeName,
                        TQorvelPropertyAccess access, std::optional<std::int32_t> declaredDefault = std::nullopt,
                        const TQorvelEnumInfo* enumType = nullptr);

}  // namespace Detail

template <class C>
TQorvelPropertyInfo Integer(std::string_view name, std::int32_t C::*field,
                            std::optional<std::int32_t> declaredDefault = std::nullopt) {
  return Detail::Row(name, TQorvelTypeKind::Integer, "Integer", Detail::OrdinalField(field), declaredDefault);
}

// A getter and an optional setter (nullptr for a read-only property).
template <class C>
TQorvelPropertyInfo Integer(std::string_view name, std::int32_t (C::*getter)() const,
                            std::type_identity_t<void (C::*)(std::int32_t)> setter,
                            std::optional<std::int32_t> declaredDefault = std::nullopt) {
  return Detail::Row(name, TQorvelTypeKind::Integer, "Integer", Detail::ValueMethods(getter, setter), declaredDefault);
}

template <class C>
TQorvelPropertyInfo Color(std::string_view name, TColor C::*field, std::optional<TColor> declaredDefault) {
  std::optional<std::int32_t> ordinal;
  if (declaredDefault) ordinal = static_cast<std::int32_t>(*declaredDefault);
  return Detail::Row(name, TQorvelTypeKind::Integer, "TColor", Detail::OrdinalField(field), ordinal);
}

template <class C>
TQorvelPropertyInfo Boolean(std::string_view name, bool C::*field, std::optional<bool> declaredDefault) {
  std::optional<std::int32_t> ordinal;
  if (declaredDefault) ordinal = *declaredDefault ? 1 : 0;
  return Detail::Row(name, TQorvelTypeKind::Enumeration, BooleanTypeInfo.Name, Detail::OrdinalField(field), ordinal,
                     &BooleanTypeInfo);
}

template <class C, class E>
TQorvelPropertyInfo Enumeration(std::string_view name, E C::*field, const TQorvelEnumInfo& type,
                                std::optional<E> declaredDefault) {
  static_assert(std::is_enum_v<E>);
  std::optional<std::int32_t> ordinal;
  if (declaredDefault) ordinal = static_cast<std::int32_t>(*declaredDefault);
  return Detail::Row(name, TQorvelTypeKind::Enumeration, type.Name, Detail::OrdinalField(field), ordinal, &type);
}

template <class C, class E>
TQorvelPropertyInfo Set(std::string_view name, TQorvelSet<E> C::*field, std::string_view typeName,
                        const TQorvelEnumInfo& memberType, std::optional<TQorvelSet<E>> declaredDefault) {
  std::optional<std::int32_t> ordinal;
  if (declaredDefault) ordinal = static_cast<std::int32_t>(declaredDefault->Mask());
  return Detail::Row(name, TQorvelTypeKind::Set, typeName, Detail::SetField(field), ordinal, &memberType);
}

// The ordinal of a char is its code 0..255.
template <class C>
TQorvelPropertyInfo Char(std::string_view name, char C::*field, std::optional<char> declaredDefault) {
  std::optional<std::int32_t> ordinal;
  if (declaredDefault) ordinal = static_cast<unsigned char>(*declaredDefault);
  TQorvelAccessor<std::int32_t> access{
      [field](const TQorvelSettings& o) -> std::int32_t {
        return static_cast<unsigned char>(static_cast<const C&>(o).*field);
      },
      [field](TQorvelSettings& o, std::int32_t v) { static_cast<C&>(o).*field = static_cast<char>(v); }};
  return Detail::Row(name, TQorvelTypeKind::Char, "Char", access, ordinal);
}

template <class C>
TQorvelPropertyInfo Float(std::string_view name, double C::*field) {
  return Detail::Row(name, TQorvelTypeKind::Float, "Double", Detail::ValueField(field));
}

template <class C>
TQorvelPropertyInfo DateTime(std::string_view name, TDateTime (C::*getter)() const,
                             std::type_identity_t<void (C::*)(TDateTime)> setter) {
  return Detail::Row(name, TQorvelTypeKind::Float, "TDateTime", Detail::ValueMethods(getter, setter));
}

template <class C>
TQorvelPropertyInfo String(std::string_view name, std::string C::*field) {
  return Detail::Row(name, TQorvelTypeKind::String, "string", Detail::ValueField(field));
}

template <class C>
TQorvelPropertyInfo WideString(std::string_view name, std::u16string C::*field) {
  return Detail::Row(name, TQorvelTypeKind::WideString, "WideString", Detail::ValueField(field));
}

template <class C>
TQorvelPropertyInfo Int64(std::string_view name, std::int64_t C::*field) {
  return Detail::Row(name, TQorvelTypeKind::Int64, "Int64", Detail::ValueField(field));
}

template <class C>
TQorvelPropertyInfo Strings(std::string_view name, TQorvelStrings C::*field) {
  return Detail::Row(name, TQorvelTypeKind::Class, "TStrings", Detail::ValueField(field));
}

// A child settings object held in a pointer member (the parent owns it through Children).
template <class C, class TChild>
TQorvelPropertyInfo Child(std::string_view name, TChild* C::*field) {
  TQorvelAccessor<TQorvelSettings*> access{
      [field](const TQorvelSettings& o) -> TQorvelSettings* { return static_cast<const C&>(o).*field; },
      [field](TQorvelSettings& o, TQorvelSettings* v) { static_cast<C&>(o).*field = static_cast<TChild*>(v); }};
  TQorvelPropertyInfo row = Detail::Row(name, TQorvelTypeKind::Class, TChild::StaticClass().ClassName(), access);
  row.ChildClass = &TChild::StaticClass();
  return row;
}

// A child reached through an indexed getter and setter (several properties sharing one
// array, told apart by `index`).
template <class C, class TChild>
TQorvelPropertyInfo IndexedChild(std::string_view name, int index, TChild* (C::*getter)(int) const,
                                 void (C::*setter)(int, TChild*)) {
  TQorvelAccessor<TQorvelSettings*> access{[getter, index](const TQorvelSettings& o) -> TQorvelSettings* {
                                             return (static_cast<const C&>(o).*getter)(index);
                                           },
                                           [setter, index](TQorvelSettings& o, TQorvelSettings* v) {
                                             (static_cast<C&>(o).*setter)(index, static_cast<TChild*>(v));
                                           }};
  TQorvelPropertyInfo row = Detail::Row(name, TQorvelTypeKind::Class, TChild::StaticClass().ClassName(), access);
  row.ChildClass = &TChild::StaticClass();
  return row;
}

}  // namespace QorvelPublish

// ---------------------------------------------------------------------------------------
// Framework classes

class TQorvelPointSettings : public TQorvelCopyableSettings {
 public:
  using TQorvelCopyableSettings::TQorvelCopyableSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  std::int32_t X = 0;
  std::int32_t Y = 0;
};

using TQorvelWindowOptions = std::uint8_t;
constexpr TQorvelWindowOptions pwoClientSize = 1;    // sizes are client sizes, not outer sizes
constexpr TQorvelWindowOptions pwoState = 2;         // window state is stored and restored
constexpr TQorvelWindowOptions pwoSize = 4;          // size is stored and restored
constexpr TQorvelWindowOptions pwoFitToMonitor = 8;  // a restored form is moved onto a monitor

// The stored placement of one form.
class TQorvelWindowSettings : public TQorvelSettings {
 public:
  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  bool StateStored() const;
  bool SizeStored() const;

  TQorvelWindowOptions Options = 0;  // fixed when the window is defined
  TWindowState State = TWindowState::wsNormal;
  TQorvelPointSettings* Position = nullptr;  // X = left, Y = top, screen pixels
  TQorvelPointSettings* Size = nullptr;      // X = width, Y = height
  bool Loaded = false;                       // set when read from the settings file
};

// What the window list needs of a top-level window to restore and retain its placement.
class IQorvelForm {
 public:
  virtual int Left() const = 0;
  virtual void SetLeft(int value) = 0;
  virtual int Top() const = 0;
  virtual void SetTop(int value) = 0;
  virtual int Width() const = 0;
  virtual void SetWidth(int value) = 0;
  virtual int Height() const = 0;
  virtual void SetHeight(int value) = 0;
  virtual int ClientWidth() const = 0;
  virtual void SetClientWidth(int value) = 0;
  virtual int ClientHeight() const = 0;
  virtual void SetClientHeight(int value) = 0;
  virtual TWindowState WindowState() const = 0;
  virtual void SetWindowState(TWindowState value) = 0;

 protected:
  ~IQorvelForm() = default;
};

// Where a form of rectangle `form` has to go so that it is fully visible, given the work
// areas of all monitors in system order. A form already covered by the work areas stays;
// otherwise it moves, without changing size, onto the monitor showing most of it (the
// earlier one on a tie, the first one when none shows any of it).
TRect FitFormToMonitors(const TRect& form, std::span<const TRect> monitorWorkAreas);
void FitFormToMonitors(IQorvelForm& form, std::span<const TRect> monitorWorkAreas);

// Stored placements of the program's forms by window name (case-insensitive), in
// definition order. The windows are children of the list; they reach the settings file
// through the custom-element hooks.
class TQorvelWindowListSettings : public TQorvelSettings {
 public:
  static constexpr int HashCapacity = 100;

  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  // Creates the window's entry, or returns the existing one for a name already defined.
  TQorvelWindowSettings& DefineWindow(std::string_view name, TQorvelWindowOptions options);

  TQorvelWindowSettings* WindowNamed(std::string_view name) const { return FWindows.Find(name); }
  int WindowCount() const { return FWindows.Count(); }
  std::string WindowName(int index) const { return FWindows.KeyAt(index); }
  TQorvelWindowSettings* Window(int index) const { return FWindows.ValueAt(index); }

  // Applies the stored placement to `form` when it was loaded from the settings file;
  // returns whether it was.
  bool RestoreWindow(std::string_view name, IQorvelForm& form, std::span<const TRect> monitorWorkAreas);
  // Stores the form's placement; a minimized or maximized form keeps the last normal one.
  void RetainWindow(std::string_view name, const IQorvelForm& form);

  // Each defined window is one element named by the window; reading one marks it Loaded.
  bool ReadCustomElement(TQorvelSettingsReader& reader, const std::string& elementName,
                         const std::u16string& nameAttribute) override;
  void WriteCustomElements(TQorvelSettingsWriter& writer) override;

 private:
  TQorvelWindowSettings& DefinedWindow(std::string_view name, const char* action) const;

  TQorvelStringHash<TQorvelWindowSettings*> FWindows{HashCapacity};
};

using TQorvelClock = std::function<TDateTime()>;

// The local date and time from the C library.
TDateTime QorvelLocalNow();

// Usage statistics: how often the program started and how long it ran in total.
class TQorvelExecutionSettings : public TQorvelSettings {
 public:
  TQorvelExecutionSettings(const TCreationKey& key, TQorvelSettings* parent);
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  // Replaces the clock and restarts the measurement of this run from its current time.
  void SetClock(TQorvelClock clock);

  TDateTime StartTime() const { return FStartTime; }
  TDateTime ElapsedTime() const { return FClock() - FStartTime; }

  // The time stored plus this run's elapsed time, so it keeps growing while running.
  TDateTime OverallTime() const { return FBaseTime + ElapsedTime(); }
  void SetOverallTime(TDateTime value);

  // Written once per process: the first write of n makes it n + 1 (this run counted).
  std::int32_t Count() const { return FCount; }
  void SetCount(std::int32_t value);

 private:
  TQorvelClock FClock;
  TDateTime FStartTime = 0;
  TDateTime FBaseTime = 0;
  std::int32_t FCount = 0;
};

// Base of an application's settings root.
class TQorvelApplicationSettings : public TQorvelSettings {
 public:
  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }
};

enum class TQorvelSettingsBackupMode { pbmNone, pbmTemporary, pbmKeepRecent };

inline constexpr std::string_view SettingsBackupModeIdentifiers[] = {"pbmNone", "pbmTemporary", "pbmKeepRecent"};
inline constexpr TQorvelEnumInfo SettingsBackupModeTypeInfo{"TQorvelSettingsBackupMode", SettingsBackupModeIdentifiers};

class TQorvelConfigurationFileSettings : public TQorvelSettings {
 public:
  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  TQorvelSettingsBackupMode BackupMode = TQorvelSettingsBackupMode::pbmTemporary;
};

// A settings root with usage statistics and settings-file options.
class TQorvelTypicalApplicationSettings : public TQorvelApplicationSettings {
 public:
  using TQorvelApplicationSettings::TQorvelApplicationSettings;
  static const TQorvelSettingsClass& StaticClass();
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  TQorvelExecutionSettings* Execution = nullptr;
  TQorvelConfigurationFileSettings* ConfigurationFile = nullptr;
  bool ReadOnly = false;        // the settings file is read-only: nothing is saved
  bool SaveSuppressed = false;  // the user kept a damaged settings file: nothing is saved

  // Reads the whole tree through `reader` (ReadRoot) and destroys the reader, also on failure.
  void LoadWith(std::unique_ptr<TQorvelSettingsReader> reader);
  // Writes the whole tree through `writer` (WriteRoot) and destroys the writer.
  void SaveWith(std::unique_ptr<TQorvelSettingsWriter> writer);

  // Reads the settings file once at start (SettingsFileRules.cpp). A missing file leaves
  // the defaults; a damaged or unreadable one is reported, and unless the user agrees to
  // replace it, SaveToFile will leave it alone. Never throws for file or content errors.
  void LoadFromFile(const std::filesystem::path& fileName, const std::string& rootName,
                    IQorvelSettingsFileSystem& fileSystem, IQorvelSettingsPrompt& prompt);
  // Writes the settings file once at exit, keeping the previous version in the backup file
  // (ConfigurationFile->BackupMode) until the new one is complete; asks Retry/Cancel while
  // the file cannot be written. Does nothing while ReadOnly or SaveSuppressed. Never throws
  // for file or content errors.
  void SaveToFile(const std::filesystem::path& fileName, const std::string& rootName,
                  IQorvelSettingsFileSystem& fileSystem, IQorvelSettingsPrompt& prompt);
  // The same on the system's files with the system's message boxes (the Windows build).
  void LoadFromFile(const std::filesystem::path& fileName, const std::string& rootName);
  void SaveToFile(const std::filesystem::path& fileName, const std::string& rootName);

 protected:
  void AfterCreateChildren() override;
};
