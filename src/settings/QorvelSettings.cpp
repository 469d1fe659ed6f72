#include "settings/QorvelSettings.h"

#include "settings/QorvelSettingsHandlers.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <ctime>

// ---------------------------------------------------------------------------------------
// Names

namespace {

unsigned char FoldAsciiLetter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte & ~0x20u) : byte;
}

std::string KindName(TQorvelTypeKind kind) {
  switch (kind) {
    case TQorvelTypeKind::Integer: return "integer";
    case TQorvelTypeKind::Char: return "char";
    case TQorvelTypeKind::Enumeration: return "enumeration";
    case TQorvelTypeKind::Set: return "set";
    case TQorvelTypeKind::Float: return "float";
    case TQorvelTypeKind::String: return "string";
    case TQorvelTypeKind::WideString: return "wide string";
    case TQorvelTypeKind::Int64: return "int64";
    case TQorvelTypeKind::Class: return "class";
  }
  return "unknown";
}

}  // namespace

bool QorvelPropertyNameLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return FoldAsciiLetter(x) < FoldAsciiLetter(y); });
}

bool QorvelPropertyNameEquals(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return FoldAsciiLetter(x) == FoldAsciiLetter(y); });
}

std::string_view TQorvelEnumInfo::IdentifierOf(int ordinal) const {
  if (ordinal < 0 || ordinal >= Count()) return {};
  return Identifiers[static_cast<std::size_t>(ordinal)];
}

int TQorvelEnumInfo::OrdinalOf(std::string_view identifier) const {
  for (int ordinal = 0; ordinal < Count(); ++ordinal)
    if (QorvelPropertyNameEquals(Identifiers[static_cast<std::size_t>(ordinal)], identifier)) return ordinal;
  return -1;
}

// ---------------------------------------------------------------------------------------
// Property rows

TQorvelPropertyInfo QorvelPublish::Detail::Row(std::string_view name, TQorvelTypeKind kind, std::string_view typeName,
                                               TQorvelPropertyAccess access,
                                               std::optional<std::int32_t> declaredDefault,
                                               const TQorvelEnumInfo* enumType) {
  TQorvelPropertyInfo row;
  row.Name = std::string(name);
  row.Kind = kind;
  row.TypeName = std::string(typeName);
  row.EnumType = enumType;
  row.Default = declaredDefault;
  row.Access = std::move(access);
  return row;
}

bool TQorvelPropertyInfo::IsOrdinal() const {
  return Kind == TQorvelTypeKind::Integer || Kind == TQorvelTypeKind::Char || Kind == TQorvelTypeKind::Enumeration ||
         Kind == TQorvelTypeKind::Set;
}

bool TQorvelPropertyInfo::HasGetter() const {
  return std::visit([](const auto& access) { return static_cast<bool>(access.Get); }, Access);
}

bool TQorvelPropertyInfo::HasSetter() const {
  return std::visit([](const auto& access) { return static_cast<bool>(access.Set); }, Access);
}

bool TQorvelPropertyInfo::IsStored(const TQorvelSettings& object) const {
  switch (StoredMode) {
    case TQorvelStoredMode::Always: return true;
    case TQorvelStoredMode::Never: return false;
    case TQorvelStoredMode::Conditional: return StoredIf(object);
  }
  return true;
}

TQorvelPropertyInfo TQorvelPropertyInfo::NeverStored() && {
  StoredMode = TQorvelStoredMode::Never;
  StoredIf = nullptr;
  return std::move(*this);
}

template <class V>
const TQorvelAccessor<V>& TQorvelPropertyInfo::AccessorFor(const TQorvelSettings& object, const char* kindName) const {
  // The accessors cast the object to the declaring class; make sure it is one.
  if (Owner && !object.ClassType().InheritsFrom(*Owner))
    throw EQorvelSettingsError("Property '" + Name + "' belongs to " + Owner->ClassName() + ", not to " +
                               object.ClassName() + ".");
  const auto* access = std::get_if<TQorvelAccessor<V>>(&Access);
  if (!access)
    throw EQorvelSettingsError("Property '" + Name + "' (" + KindName(Kind) + ") is not a " + kindName + " property.");
  return *access;
}

namespace {

template <class V>
V CallGetter(const TQorvelAccessor<V>& access, const TQorvelPropertyInfo& property, const TQorvelSettings& object) {
  if (!access.Get) throw EQorvelSettingsError("Property '" + property.Name + "' cannot be read.");
  return access.Get(object);
}

template <class V>
void CallSetter(const TQorvelAccessor<V>& access, const TQorvelPropertyInfo& property, TQorvelSettings& object,
                V value) {
  if (!access.Set) throw EQorvelSettingsError("Property '" + property.Name + "' is read only.");
  access.Set(object, std::move(value));
}

}  // namespace

std::int32_t TQorvelPropertyInfo::GetOrdinal(const TQorvelSettings& object) const {
  return CallGetter(AccessorFor<std::int32_t>(object, "ordinal"), *this, object);
}

void TQorvelPropertyInfo::SetOrdinal(TQorvelSettings& object, std::int32_t value) const {
  const auto& access = AccessorFor<std::int32_t>(object, "ordinal");
  if (!OrdinalInRange(value))
    throw EQorvelSettingsError("Value " + std::to_string(value) + " is out of range for property '" + Name + "' (" +
                               TypeName + ").");
  CallSetter(access, *this, object, value);
}

// An enumeration, set or char field must never hold a value its type does not have.
bool TQorvelPropertyInfo::OrdinalInRange(std::int32_t value) const {
  switch (Kind) {
    case TQorvelTypeKind::Enumeration: return !EnumType || (value >= 0 && value < EnumType->Count());
    case TQorvelTypeKind::Set:
      return !EnumType || EnumType->Count() >= 32 || (static_cast<std::uint32_t>(value) >> EnumType->Count()) == 0;
    case TQorvelTypeKind::Char: return value >= 0 && value <= 255;
    default: return true;
  }
}

double TQorvelPropertyInfo::GetFloat(const TQorvelSettings& object) const {
  return CallGetter(AccessorFor<double>(object, "float"), *this, object);
}

void TQorvelPropertyInfo::SetFloat(TQorvelSettings& object, double value) const {
  CallSetter(AccessorFor<double>(object, "float"), *this, object, value);
}

std::string TQorvelPropertyInfo::GetString(const TQorvelSettings& object) const {
  return CallGetter(AccessorFor<std::string>(object, "string"), *this, object);
}

void TQorvelPropertyInfo::SetString(TQorvelSettings& object, std::string value) const {
  CallSetter(AccessorFor<std::string>(object, "string"), *this, object, std::move(value));
}

std::u16string TQorvelPropertyInfo::GetWideString(const TQorvelSettings& object) const {
  return CallGetter(AccessorFor<std::u16string>(object, "wide string"), *this, object);
}

void TQorvelPropertyInfo::SetWideString(TQorvelSettings& object, std::u16string value) const {
  CallSetter(AccessorFor<std::u16string>(object, "wide string"), *this, object, std::move(value));
}

std::int64_t TQorvelPropertyInfo::GetInt64(const TQorvelSettings& object) const {
  return CallGetter(AccessorFor<std::int64_t>(object, "int64"), *this, object);
}

void TQorvelPropertyInfo::SetInt64(TQorvelSettings& object, std::int64_t value) const {
  CallSetter(AccessorFor<std::int64_t>(object, "int64"), *this, object, value);
}

TQorvelSettings* TQorvelPropertyInfo::GetChild(const TQorvelSettings& object) const {
  return CallGetter(AccessorFor<TQorvelSettings*>(object, "settings object"), *this, object);
}

void TQorvelPropertyInfo::SetChild(TQorvelSettings& object, TQorvelSettings* child) const {
  const auto& access = AccessorFor<TQorvelSettings*>(object, "settings object");
  // The setter casts the child to the property's class; make sure it is one.
  if (child && ChildClass && !child->ClassType().InheritsFrom(*ChildClass))
    throw EQorvelSettingsError("Property '" + Name + "' takes a " + ChildClass->ClassName() + ", not a " +
                               child->ClassName() + ".");
  CallSetter(access, *this, object, child);
}

TQorvelStrings TQorvelPropertyInfo::GetStrings(const TQorvelSettings& object) const {
  return CallGetter(AccessorFor<TQorvelStrings>(object, "string list"), *this, object);
}

void TQorvelPropertyInfo::SetStrings(TQorvelSettings& object, TQorvelStrings value) const {
  CallSetter(AccessorFor<TQorvelStrings>(object, "string list"), *this, object, std::move(value));
}

// ---------------------------------------------------------------------------------------
// Class references

TQorvelSettingsClass::TQorvelSettingsClass(std::string name, const TQorvelSettingsClass* base, TFactory factory,
                                           std::vector<TQorvelPropertyInfo> ownProperties)
    : FName(std::move(name)), FBase(base), FFactory(factory) {
  if (FBase) FProperties = FBase->FProperties;
  for (TQorvelPropertyInfo& property : ownProperties) {
    if (FindProperty(property.Name))
      throw EQorvelSettingsError(FName + " publishes the property '" + property.Name + "' twice.");
    property.Owner = this;
    FProperties.push_back(std::move(property));
  }
  std::stable_sort(FProperties.begin(), FProperties.end(),
                   [](const TQorvelPropertyInfo& a, const TQorvelPropertyInfo& b) {
                     return QorvelPropertyNameLess(a.Name, b.Name);
                   });
}

bool TQorvelSettingsClass::InheritsFrom(const TQorvelSettingsClass& other) const {
  for (const TQorvelSettingsClass* cls = this; cls; cls = cls->FBase)
    if (cls == &other) return true;
  return false;
}

const TQorvelPropertyInfo* TQorvelSettingsClass::FindProperty(std::string_view name) const {
  for (const TQorvelPropertyInfo& property : FProperties)
    if (QorvelPropertyNameEquals(property.Name, name)) return &property;
  return nullptr;
}

std::unique_ptr<TQorvelSettings> TQorvelSettingsClass::Create() const {
  return std::unique_ptr<TQorvelSettings>(CreateInstance(nullptr));
}

TQorvelSettings* TQorvelSettingsClass::Create(TQorvelSettings& parent) const { return CreateInstance(&parent); }

TQorvelSettings* TQorvelSettingsClass::CreateInstance(TQorvelSettings* parent) const {
  // Until it is complete the object is ours: a failure destroys it, which also takes it
  // out of the parent's children.
  std::unique_ptr<TQorvelSettings> object(FFactory(TCreationKey(), parent));
  if (&object->ClassType() != this)
    throw EQorvelSettingsError(FName + " does not report its own class (ClassType is not overridden).");
  object->CreatePublishedChildren();
  object->AfterCreateChildren();
  object->SetDefaults();
  return object.release();
}

// ---------------------------------------------------------------------------------------
// TQorvelSettings

TQorvelSettings::TQorvelSettings(const TCreationKey&, TQorvelSettings* parent) : FParent(parent) {
  if (FParent) FParent->FChildren.push_back(this);
}

TQorvelSettings::~TQorvelSettings() {
  if (FParent) {
    std::vector<TQorvelSettings*>& siblings = FParent->FChildren;
    siblings.erase(std::find(siblings.begin(), siblings.end(), this));
  }
  std::vector<TQorvelSettings*> children;
  children.swap(FChildren);
  for (TQorvelSettings* child : children) {
    child->FParent = nullptr;  // so that it does not look for itself in our list
    delete child;
  }
}

const TQorvelSettingsClass& TQorvelSettings::StaticClass() {
  static const TQorvelSettingsClass cls("TQorvelSettings", nullptr, &TQorvelSettingsClass::Instantiate<TQorvelSettings>,
                                        {});
  return cls;
}

const TQorvelPropertyInfo& TQorvelSettings::PropertyByName(std::string_view name) const {
  if (const TQorvelPropertyInfo* property = FindProperty(name)) return *property;
  throw EQorvelSettingsError(ClassName() + " has no property '" + std::string(name) + "'.");
}

bool TQorvelSettings::ReadCustomElement(TQorvelSettingsReader&, const std::string&, const std::u16string&) {
  return false;
}

void TQorvelSettings::WriteCustomElements(TQorvelSettingsWriter&) {}

void TQorvelSettings::SetDefaults() {
  for (const TQorvelPropertyInfo& property : ClassType().Properties())
    if (property.IsOrdinal() && property.Default && property.HasSetter()) property.SetOrdinal(*this, *property.Default);
}

void TQorvelSettings::CreatePublishedChildren() {
  if (!AutoCreateChildren()) return;
  for (const TQorvelPropertyInfo& property : ClassType().Properties()) {
    if (property.Kind != TQorvelTypeKind::Class) continue;
    if (!property.HasSetter())
      throw EQorvelSettingsError("Cannot create child property '" + property.Name +
                                 "' automatically (property is read only).");
    if (property.IsSettingsChild() && property.ChildClass)
      property.SetChild(*this, property.ChildClass->Create(*this));
    else if (property.IsStringList())
      property.SetStrings(*this, {});
  }
}

// ---------------------------------------------------------------------------------------
// TQorvelCopyableSettings

const TQorvelSettingsClass& TQorvelCopyableSettings::StaticClass() {
  static const TQorvelSettingsClass cls("TQorvelCopyableSettings", &TQorvelSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<TQorvelCopyableSettings>, {});
  return cls;
}

void TQorvelCopyableSettings::AssignCustom(const TQorvelSettings&) {}

void TQorvelCopyableSettings::Assign(const TQorvelSettings& source) {
  if (&source.ClassType() != &ClassType())
    throw EQorvelSettingsError("Cannot copy " + source.ClassName() + " to " + ClassName() + ".");
  for (const TQorvelPropertyInfo& property : ClassType().Properties()) {
    if (!property.HasGetter()) continue;
    if (property.Kind == TQorvelTypeKind::Class) {
      if (property.IsStringList()) {
        if (property.HasSetter()) property.SetStrings(*this, property.GetStrings(source));
        continue;
      }
      TQorvelSettings* target = property.GetChild(*this);
      const TQorvelSettings* origin = property.GetChild(source);
      if (target && origin && target->ClassType().InheritsFrom(TQorvelCopyableSettings::StaticClass()))
        static_cast<TQorvelCopyableSettings*>(target)->Assign(*origin);
      continue;
    }
    if (!property.HasSetter()) continue;
    switch (property.Kind) {
      case TQorvelTypeKind::Integer:
      case TQorvelTypeKind::Enumeration:
      case TQorvelTypeKind::Set: property.SetOrdinal(*this, property.GetOrdinal(source)); break;
      case TQorvelTypeKind::Float: property.SetFloat(*this, property.GetFloat(source)); break;
      case TQorvelTypeKind::String: property.SetString(*this, property.GetString(source)); break;
      case TQorvelTypeKind::WideString: property.SetWideString(*this, property.GetWideString(source)); break;
      case TQorvelTypeKind::Int64: property.SetInt64(*this, property.GetInt64(source)); break;
      case TQorvelTypeKind::Char:
      case TQorvelTypeKind::Class: break;
    }
  }
  AssignCustom(source);
}

// ---------------------------------------------------------------------------------------
// Points and windows

const TQorvelSettingsClass& TQorvelPointSettings::StaticClass() {
  using C = TQorvelPointSettings;
  static const TQorvelSettingsClass cls("TQorvelPointSettings", &TQorvelCopyableSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::Integer("X", &C::X),
                                            QorvelPublish::Integer("Y", &C::Y),
                                        });
  return cls;
}

const TQorvelSettingsClass& TQorvelWindowSettings::StaticClass() {
  using C = TQorvelWindowSettings;
  static const TQorvelSettingsClass cls(
      "TQorvelWindowSettings", &TQorvelSettings::StaticClass(), &TQorvelSettingsClass::Instantiate<C>,
      {
          QorvelPublish::Child("Position", &C::Position),
          QorvelPublish::Child("Size", &C::Size).StoredWhen(&C::SizeStored),
          QorvelPublish::Enumeration("State", &C::State, WindowStateTypeInfo, std::optional<TWindowState>())
              .StoredWhen(&C::StateStored),
      });
  return cls;
}

// A minimized state is never stored: the form would come back as an icon.
bool TQorvelWindowSettings::StateStored() const {
  return (Options & pwoState) != 0 && State != TWindowState::wsMinimized;
}

bool TQorvelWindowSettings::SizeStored() const { return (Options & pwoSize) != 0; }

TRect FitFormToMonitors(const TRect& form, std::span<const TRect> monitorWorkAreas) {
  const TRect* area = WorkAreaToFitInto(form, monitorWorkAreas);
  if (!area) return form;
  int left = form.Left, top = form.Top;
  if (left < area->Left)
    left = area->Left;
  else if (left > area->Right - form.Width())
    left = area->Right - form.Width();
  if (top < area->Top)
    top = area->Top;
  else if (top > area->Bottom - form.Height())
    top = area->Bottom - form.Height();
  return {left, top, left + form.Width(), top + form.Height()};
}

void FitFormToMonitors(IQorvelForm& form, std::span<const TRect> monitorWorkAreas) {
  const TRect current{form.Left(), form.Top(), form.Left() + form.Width(), form.Top() + form.Height()};
  const TRect fitted = FitFormToMonitors(current, monitorWorkAreas);
  if (fitted.Left != current.Left) form.SetLeft(fitted.Left);
  if (fitted.Top != current.Top) form.SetTop(fitted.Top);
}

const TQorvelSettingsClass& TQorvelWindowListSettings::StaticClass() {
  static const TQorvelSettingsClass cls("TQorvelWindowListSettings", &TQorvelSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<TQorvelWindowListSettings>, {});
  return cls;
}

TQorvelWindowSettings& TQorvelWindowListSettings::DefineWindow(std::string_view name, TQorvelWindowOptions options) {
  if (TQorvelWindowSettings* existing = FWindows.Find(name)) return *existing;
  TQorvelWindowSettings* window = TQorvelSettings::Create<TQorvelWindowSettings>(*this);
  window->Options = options;
  FWindows.Add(name, window);
  return *window;
}

TQorvelWindowSettings& TQorvelWindowListSettings::DefinedWindow(std::string_view name, const char* action) const {
  if (TQorvelWindowSettings* window = FWindows.Find(name)) return *window;
  throw EQorvelSettingsError(std::string(name) + " has to be defined before " + action + " a form with this name.");
}

bool TQorvelWindowListSettings::RestoreWindow(std::string_view name, IQorvelForm& form,
                                              std::span<const TRect> monitorWorkAreas) {
  const TQorvelWindowSettings& window = DefinedWindow(name, "restoring");
  if (!window.Loaded) return false;
  if ((window.Options & pwoSize) && window.Size->X > 0 && window.Size->Y > 0) {
    if (window.Options & pwoClientSize) {
      form.SetClientWidth(window.Size->X);
      form.SetClientHeight(window.Size->Y);
    } else {
      form.SetWidth(window.Size->X);
      form.SetHeight(window.Size->Y);
    }
  }
  form.SetLeft(window.Position->X);
  form.SetTop(window.Position->Y);
  if (window.Options & pwoState) form.SetWindowState(window.State);
  if (window.Options & pwoFitToMonitor) FitFormToMonitors(form, monitorWorkAreas);
  return true;
}

void TQorvelWindowListSettings::RetainWindow(std::string_view name, const IQorvelForm& form) {
  TQorvelWindowSettings& window = DefinedWindow(name, "retaining");
  window.State = form.WindowState();
  // Position and size of a minimized or maximized form say nothing about where the user
  // wants it; keep those of its last normal state.
  if (window.State != TWindowState::wsNormal) return;
  window.Position->X = form.Left();
  window.Position->Y = form.Top();
  const bool clientSize = (window.Options & pwoClientSize) != 0;
  window.Size->X = clientSize ? form.ClientWidth() : form.Width();
  window.Size->Y = clientSize ? form.ClientHeight() : form.Height();
}

bool TQorvelWindowListSettings::ReadCustomElement(TQorvelSettingsReader& reader, const std::string& elementName,
                                                  const std::u16string&) {
  TQorvelWindowSettings* window = FWindows.Find(elementName);
  if (!window) return false;
  reader.ReadObject(elementName, *window);
  window->Loaded = true;
  return true;
}

void TQorvelWindowListSettings::WriteCustomElements(TQorvelSettingsWriter& writer) {
  for (int i = 0; i < WindowCount(); ++i) writer.WriteObject(WindowName(i), u"", *Window(i));
}

// ---------------------------------------------------------------------------------------
// Execution statistics

namespace {

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

constexpr double UnixEpochDateTime = 25569.0;  // 1970-01-01 counted from 1899-12-30

}  // namespace

TDateTime QorvelLocalNow() {
  using namespace std::chrono;
  const system_clock::time_point now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const auto milliseconds = duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  const std::tm* local = std::localtime(&seconds);  // the program has one thread
  if (!local) return UnixEpochDateTime + static_cast<double>(seconds) / 86400.0;
  const double days = UnixEpochDateTime +
                      static_cast<double>(DaysFromCivil(local->tm_year + 1900, static_cast<unsigned>(local->tm_mon + 1),
                                                        static_cast<unsigned>(local->tm_mday)));
  const double secondsOfDay =
      local->tm_hour * 3600.0 + local->tm_min * 60.0 + local->tm_sec + static_cast<double>(milliseconds) / 1000.0;
  return days + secondsOfDay / 86400.0;
}

TQorvelExecutionSettings::TQorvelExecutionSettings(const TCreationKey& key, TQorvelSettings* parent)
    : TQorvelSettings(key, parent), FClock(QorvelLocalNow), FStartTime(FClock()) {}

const TQorvelSettingsClass& TQorvelExecutionSettings::StaticClass() {
  using C = TQorvelExecutionSettings;
  static const TQorvelSettingsClass cls("TQorvelExecutionSettings", &TQorvelSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::Integer("Count", &C::Count, &C::SetCount),
                                            QorvelPublish::DateTime("OverallTime", &C::OverallTime, &C::SetOverallTime),
                                        });
  return cls;
}

void TQorvelExecutionSettings::SetClock(TQorvelClock clock) {
  if (!clock) throw EQorvelSettingsError("The execution statistics need a clock.");
  FClock = std::move(clock);
  FStartTime = FClock();
}

void TQorvelExecutionSettings::SetOverallTime(TDateTime value) {
  // A value that is not a number would stick to the statistics for good.
  if (!std::isfinite(value)) return;
  FBaseTime = value - ElapsedTime();
}

void TQorvelExecutionSettings::SetCount(std::int32_t value) {
  if (FCount != 0) return;
  // A count below zero comes only from a damaged file: this run is then the first counted.
  FCount = value == INT32_MAX ? value : std::max(value, 0) + 1;
}

// ---------------------------------------------------------------------------------------
// Application roots

const TQorvelSettingsClass& TQorvelApplicationSettings::StaticClass() {
  static const TQorvelSettingsClass cls("TQorvelApplicationSettings", &TQorvelSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<TQorvelApplicationSettings>, {});
  return cls;
}

const TQorvelSettingsClass& TQorvelConfigurationFileSettings::StaticClass() {
  using C = TQorvelConfigurationFileSettings;
  static const TQorvelSettingsClass cls(
      "TQorvelConfigurationFileSettings", &TQorvelSettings::StaticClass(), &TQorvelSettingsClass::Instantiate<C>,
      {
          QorvelPublish::Enumeration("BackupMode", &C::BackupMode, SettingsBackupModeTypeInfo,
                                     std::optional(TQorvelSettingsBackupMode::pbmTemporary)),
      });
  return cls;
}

const TQorvelSettingsClass& TQorvelTypicalApplicationSettings::StaticClass() {
  using C = TQorvelTypicalApplicationSettings;
  static const TQorvelSettingsClass cls("TQorvelTypicalApplicationSettings", &TQorvelApplicationSettings::StaticClass(),
                                        &TQorvelSettingsClass::Instantiate<C>,
                                        {
                                            QorvelPublish::Child("ConfigurationFile", &C::ConfigurationFile),
                                            QorvelPublish::Child("Execution", &C::Execution),
                                        });
  return cls;
}

void TQorvelTypicalApplicationSettings::LoadWith(std::unique_ptr<TQorvelSettingsReader> reader) {
  if (!reader) throw EQorvelSettingsError("Cannot load settings (no reader assigned).");
  // What was read before a failure stays in effect, so it is held to its ranges as well.
  try {
    reader->ReadRoot(*this);
  } catch (...) {
    QorvelHoldToRanges(*this);
    throw;
  }
  QorvelHoldToRanges(*this);
}

void TQorvelTypicalApplicationSettings::SaveWith(std::unique_ptr<TQorvelSettingsWriter> writer) {
  if (!writer) throw EQorvelSettingsError("Cannot save settings (no writer assigned).");
  writer->WriteRoot(*this);
}

void TQorvelTypicalApplicationSettings::AfterCreateChildren() {
  TQorvelApplicationSettings::AfterCreateChildren();
  ConfigurationFile->BackupMode = TQorvelSettingsBackupMode::pbmTemporary;
}
