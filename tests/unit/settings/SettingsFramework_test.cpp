#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/QorvelSettings.h"
#include "settings/SettingsTreeWalk.h"

namespace {

enum class TFruit { fApple, fPear, fPlum };
constexpr std::string_view FruitIdentifiers[] = {"fApple", "fPear", "fPlum"};
constexpr TQorvelEnumInfo FruitTypeInfo{"TFruit", FruitIdentifiers};
using TFruits = TQorvelSet<TFruit>;

int LiveSampleChildren = 0;

class TSampleChild : public TQorvelCopyableSettings {
 public:
  TSampleChild(const TCreationKey& key, TQorvelSettings* parent) : TQorvelCopyableSettings(key, parent) {
    ++LiveSampleChildren;
  }
  ~TSampleChild() override { --LiveSampleChildren; }

  static const TQorvelSettingsClass& StaticClass() {
    using C = TSampleChild;
    static const TQorvelSettingsClass cls("TSampleChild", &TQorvelCopyableSettings::StaticClass(),
                                          &TQorvelSettingsClass::Instantiate<C>,
                                          {QorvelPublish::Integer("Value", &C::Value, 7)});
    return cls;
  }
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  std::int32_t Value = 0;
};

// One property of every kind; names in mixed case so that the sort shows.
class TSampleSettings : public TQorvelCopyableSettings {
 public:
  using TQorvelCopyableSettings::TQorvelCopyableSettings;

  static const TQorvelSettingsClass& StaticClass() {
    using C = TSampleSettings;
    static const TQorvelSettingsClass cls(
        "TSampleSettings", &TQorvelCopyableSettings::StaticClass(), &TQorvelSettingsClass::Instantiate<C>,
        {
            QorvelPublish::Integer("Number", &C::Number, -5),
            QorvelPublish::Color("Tint", &C::Tint, 0x8000000F),
            QorvelPublish::Boolean("Flag", &C::Flag, true),
            QorvelPublish::Enumeration("Fruit", &C::Fruit, FruitTypeInfo, std::optional(TFruit::fPlum)),
            QorvelPublish::Set("Basket", &C::Basket, "TFruits", FruitTypeInfo,
                               std::optional(TFruits{TFruit::fApple, TFruit::fPlum})),
            QorvelPublish::Char("Letter", &C::Letter, 'q'),
            QorvelPublish::Float("Ratio", &C::Ratio),
            QorvelPublish::String("Text", &C::Text),
            QorvelPublish::WideString("WideText", &C::WideText),
            QorvelPublish::Int64("Big", &C::Big),
            QorvelPublish::Strings("Lines", &C::Lines),
            QorvelPublish::Child("first", &C::First),
            QorvelPublish::Child("Second", &C::Second),
            QorvelPublish::Integer("_Hidden", &C::Hidden, 0).NeverStored(),
        });
    return cls;
  }
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  void AssignCustom(const TQorvelSettings& source) override {
    ++AssignCustomCalls;
    TQorvelCopyableSettings::AssignCustom(source);
  }

  std::int32_t Number = 0;
  TColor Tint = 0;
  bool Flag = false;
  TFruit Fruit = TFruit::fApple;
  TFruits Basket;
  char Letter = 'a';
  double Ratio = 0.25;
  std::string Text = "text";
  std::u16string WideText = u"wide";
  std::int64_t Big = std::int64_t{1} << 40;
  TQorvelStrings Lines{"left over"};
  TSampleChild* First = nullptr;
  TSampleChild* Second = nullptr;
  std::int32_t Hidden = 0;
  int AssignCustomCalls = 0;
};

// A child property without a setter cannot be filled in automatically.
class TReadOnlyChildSettings : public TQorvelSettings {
 public:
  using TQorvelSettings::TQorvelSettings;
  static const TQorvelSettingsClass& StaticClass() {
    using C = TReadOnlyChildSettings;
    static const TQorvelSettingsClass cls("TReadOnlyChildSettings", &TQorvelSettings::StaticClass(),
                                          &TQorvelSettingsClass::Instantiate<C>,
                                          {QorvelPublish::Child("Before", &C::Before), ReadOnlyChild()});
    return cls;
  }
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }

  TSampleChild* Before = nullptr;
  TSampleChild* Fixed = nullptr;

 private:
  static TQorvelPropertyInfo ReadOnlyChild() {
    TQorvelPropertyInfo row = QorvelPublish::Child("Fixed", &TReadOnlyChildSettings::Fixed);
    std::get<TQorvelAccessor<TQorvelSettings*>>(row.Access).Set = nullptr;
    return row;
  }
};

class TNoChildrenSettings : public TSampleSettings {
 public:
  using TSampleSettings::TSampleSettings;
  static const TQorvelSettingsClass& StaticClass() {
    static const TQorvelSettingsClass cls("TNoChildrenSettings", &TSampleSettings::StaticClass(),
                                          &TQorvelSettingsClass::Instantiate<TNoChildrenSettings>, {});
    return cls;
  }
  const TQorvelSettingsClass& ClassType() const override { return StaticClass(); }
  bool AutoCreateChildren() const override { return false; }
};

// Forgets to report its own class.
class TForgetfulSettings : public TSampleSettings {
 public:
  using TSampleSettings::TSampleSettings;
  static const TQorvelSettingsClass& StaticClass() {
    static const TQorvelSettingsClass cls("TForgetfulSettings", &TSampleSettings::StaticClass(),
                                          &TQorvelSettingsClass::Instantiate<TForgetfulSettings>, {});
    return cls;
  }
};

std::vector<std::string> PropertyNames(const TQorvelSettingsClass& cls) {
  std::vector<std::string> names;
  for (const TQorvelPropertyInfo& property : cls.Properties()) names.push_back(property.Name);
  return names;
}

template <class F>
std::string ErrorText(F action) {
  try {
    action();
  } catch (const EQorvelSettingsError& error) {
    return error.what();
  }
  return "(no error)";
}

TEST(PropertyNames, FoldOnlyAsciiLetters) {
  EXPECT_TRUE(QorvelPropertyNameLess("abc", "ABD"));
  EXPECT_FALSE(QorvelPropertyNameLess("ABC", "abc"));
  EXPECT_FALSE(QorvelPropertyNameLess("abc", "ABC"));
  EXPECT_TRUE(QorvelPropertyNameLess("Zed", "_a"));  // '_' lies above the upper-case letters
  EXPECT_TRUE(QorvelPropertyNameLess("Cm", "Cmx"));
  EXPECT_TRUE(QorvelPropertyNameEquals("UserDefiniedDPI", "userdefinieddpi"));
  EXPECT_FALSE(QorvelPropertyNameEquals("a_", "A\x7F"));  // '_' and DEL differ by bit 5 but are no letters
}

TEST(PropertyTable, IsSortedCaseInsensitively) {
  EXPECT_EQ(PropertyNames(TSampleSettings::StaticClass()),
            (std::vector<std::string>{"Basket", "Big", "first", "Flag", "Fruit", "Letter", "Lines", "Number", "Ratio",
                                      "Second", "Text", "Tint", "WideText", "_Hidden"}));
}

TEST(PropertyTable, DescribesKindTypeAndDefault) {
  const TQorvelSettingsClass& cls = TSampleSettings::StaticClass();
  const TQorvelPropertyInfo& tint = *cls.FindProperty("tint");
  EXPECT_EQ(tint.Kind, TQorvelTypeKind::Integer);
  EXPECT_EQ(tint.TypeName, "TColor");
  EXPECT_EQ(tint.Default, static_cast<std::int32_t>(0x8000000F));

  const TQorvelPropertyInfo& flag = *cls.FindProperty("FLAG");
  EXPECT_EQ(flag.Kind, TQorvelTypeKind::Enumeration);
  EXPECT_EQ(flag.TypeName, "Boolean");
  EXPECT_EQ(flag.EnumType->IdentifierOf(1), "True");

  const TQorvelPropertyInfo& basket = *cls.FindProperty("Basket");
  EXPECT_EQ(basket.Kind, TQorvelTypeKind::Set);
  EXPECT_EQ(basket.TypeName, "TFruits");
  EXPECT_EQ(basket.EnumType, &FruitTypeInfo);
  EXPECT_EQ(basket.Default, 0b101);

  const TQorvelPropertyInfo& ratio = *cls.FindProperty("Ratio");
  EXPECT_EQ(ratio.Kind, TQorvelTypeKind::Float);
  EXPECT_FALSE(ratio.Default.has_value());

  const TQorvelPropertyInfo& first = *cls.FindProperty("First");
  EXPECT_EQ(first.Kind, TQorvelTypeKind::Class);
  EXPECT_EQ(first.TypeName, "TSampleChild");
  EXPECT_EQ(first.ChildClass, &TSampleChild::StaticClass());
  EXPECT_TRUE(first.IsSettingsChild());

  const TQorvelPropertyInfo& lines = *cls.FindProperty("Lines");
  EXPECT_EQ(lines.Kind, TQorvelTypeKind::Class);
  EXPECT_TRUE(lines.IsStringList());

  EXPECT_EQ(cls.FindProperty("Letter")->Kind, TQorvelTypeKind::Char);
  EXPECT_EQ(cls.FindProperty("WideText")->Kind, TQorvelTypeKind::WideString);
  EXPECT_EQ(cls.FindProperty("Big")->Kind, TQorvelTypeKind::Int64);
  EXPECT_EQ(cls.FindProperty("Nothing"), nullptr);
  EXPECT_EQ(cls.FindProperty("Value"), nullptr) << "a child's properties are not the parent's";
}

TEST(PropertyTable, InheritedPropertiesJoinTheSortAndOwnersAreKept) {
  const TQorvelSettingsClass& cls = TQorvelTypicalApplicationSettings::StaticClass();
  EXPECT_EQ(PropertyNames(cls), (std::vector<std::string>{"ConfigurationFile", "Execution"}));
  EXPECT_EQ(cls.FindProperty("Execution")->Owner, &cls);
  EXPECT_EQ(TNoChildrenSettings::StaticClass().FindProperty("Number")->Owner, &TSampleSettings::StaticClass());
  EXPECT_TRUE(TNoChildrenSettings::StaticClass().InheritsFrom(TQorvelCopyableSettings::StaticClass()));
  EXPECT_FALSE(TSampleSettings::StaticClass().InheritsFrom(TNoChildrenSettings::StaticClass()));
}

TEST(PropertyTable, RefusesAPropertyPublishedTwice) {
  struct TTwice : TSampleSettings {
    using TSampleSettings::TSampleSettings;
  };
  EXPECT_EQ(ErrorText([] {
              TQorvelSettingsClass cls("TTwice", &TSampleSettings::StaticClass(),
                                       &TQorvelSettingsClass::Instantiate<TTwice>,
                                       {QorvelPublish::Integer("NUMBER", &TTwice::Hidden)});
            }),
            "TTwice publishes the property 'NUMBER' twice.");
}

TEST(SettingsCreation, AppliesDeclaredDefaultsAndKeepsOtherValues) {
  auto sample = TQorvelSettings::Create<TSampleSettings>();
  EXPECT_EQ(sample->Number, -5);
  EXPECT_EQ(sample->Tint, 0x8000000Fu);
  EXPECT_TRUE(sample->Flag);
  EXPECT_EQ(sample->Fruit, TFruit::fPlum);
  EXPECT_EQ(sample->Basket, (TFruits{TFruit::fApple, TFruit::fPlum}));
  EXPECT_EQ(sample->Letter, 'q');
  // No declared defaults for these: the constructor's values stay.
  EXPECT_EQ(sample->Ratio, 0.25);
  EXPECT_EQ(sample->Text, "text");
  EXPECT_EQ(sample->Big, std::int64_t{1} << 40);
  EXPECT_EQ(sample->First->Value, 7);
}

TEST(SettingsCreation, CreatesChildrenInTableOrder) {
  auto sample = TQorvelSettings::Create<TSampleSettings>();
  ASSERT_NE(sample->First, nullptr);
  ASSERT_NE(sample->Second, nullptr);
  EXPECT_NE(sample->First, sample->Second);
  EXPECT_EQ(sample->Children(), (std::vector<TQorvelSettings*>{sample->First, sample->Second}));
  EXPECT_EQ(sample->First->Parent(), sample.get());
  EXPECT_EQ(sample->Parent(), nullptr);
  EXPECT_TRUE(sample->Lines.empty()) << "a string list starts empty";
}

TEST(SettingsCreation, ThroughAClassReference) {
  const TQorvelSettingsClass& childClass = *TSampleSettings::StaticClass().FindProperty("Second")->ChildClass;
  std::unique_ptr<TQorvelSettings> root = childClass.Create();
  EXPECT_EQ(root->ClassName(), "TSampleChild");
  EXPECT_EQ(root->PropertyByName("Value").GetOrdinal(*root), 7);

  TQorvelSettings* child = childClass.Create(*root);
  EXPECT_EQ(child->Parent(), root.get());
  EXPECT_EQ(root->Children(), std::vector<TQorvelSettings*>{child});
}

TEST(SettingsCreation, WithoutAutoCreateChildrenNoChildrenAppear) {
  auto object = TQorvelSettings::Create<TNoChildrenSettings>();
  EXPECT_EQ(object->First, nullptr);
  EXPECT_TRUE(object->Children().empty());
  EXPECT_EQ(object->Number, -5);
}

TEST(SettingsCreation, ReadOnlyChildPropertyIsAnError) {
  const int liveBefore = LiveSampleChildren;
  auto parent = TQorvelSettings::Create<TSampleSettings>();
  const auto childrenBefore = parent->Children();
  EXPECT_EQ(ErrorText([&] { TQorvelSettings::Create<TReadOnlyChildSettings>(*parent); }),
            "Cannot create child property 'Fixed' automatically (property is read only).");
  EXPECT_EQ(parent->Children(), childrenBefore) << "the failed object must leave its parent";
  parent.reset();
  EXPECT_EQ(LiveSampleChildren, liveBefore) << "children made before the failure must be freed";
}

TEST(SettingsCreation, AClassThatDoesNotReportItselfIsRefused) {
  EXPECT_THROW(TQorvelSettings::Create<TForgetfulSettings>(), EQorvelSettingsError);
}

TEST(SettingsLifetime, ChildLeavesItsParentWhenDestroyed) {
  auto sample = TQorvelSettings::Create<TSampleSettings>();
  TSampleChild* extra = TQorvelSettings::Create<TSampleChild>(*sample);
  ASSERT_EQ(sample->Children().size(), 3u);
  delete extra;
  EXPECT_EQ(sample->Children(), (std::vector<TQorvelSettings*>{sample->First, sample->Second}));
}

TEST(SettingsLifetime, ParentDestroysItsChildren) {
  const int liveBefore = LiveSampleChildren;
  {
    auto sample = TQorvelSettings::Create<TSampleSettings>();
    TQorvelSettings::Create<TSampleChild>(*sample->First);  // a grandchild
    EXPECT_EQ(LiveSampleChildren, liveBefore + 3);
  }
  EXPECT_EQ(LiveSampleChildren, liveBefore);
}

TEST(PropertyAccess, ByNameIgnoresCase) {
  auto sample = TQorvelSettings::Create<TSampleSettings>();
  sample->PropertyByName("NUMBER").SetOrdinal(*sample, 42);
  EXPECT_EQ(sample->Number, 42);
  sample->PropertyByName("widetext").SetWideString(*sample, u"\u00E9t\u00E9");
  EXPECT_EQ(sample->WideText, u"\u00E9t\u00E9");
  sample->PropertyByName("lines").SetStrings(*sample, {"a", "b"});
  EXPECT_EQ(sample->Lines, (TQorvelStrings{"a", "b"}));
  EXPECT_EQ(sample->PropertyByName("TINT").GetOrdinal(*sample), static_cast<std::int32_t>(0x8000000F));
  EXPECT_EQ(ErrorText([&] { sample->PropertyByName("Nope"); }), "TSampleSettings has no property 'Nope'.");
}

TEST(PropertyAccess, RefusesMisuseWithoutChangingTheValue) {
  auto sample = TQorvelSettings::Create<TSampleSettings>();
  const TQorvelSettingsClass& cls = TSampleSettings::StaticClass();

  EXPECT_EQ(ErrorText([&] { cls.FindProperty("Number")->GetFloat(*sample); }),
            "Property 'Number' (integer) is not a float property.");
  EXPECT_THROW(cls.FindProperty("Fruit")->SetOrdinal(*sample, 3), EQorvelSettingsError);
  EXPECT_THROW(cls.FindProperty("Fruit")->SetOrdinal(*sample, -1), EQorvelSettingsError);
  EXPECT_EQ(sample->Fruit, TFruit::fPlum);
  EXPECT_THROW(cls.FindProperty("Flag")->SetOrdinal(*sample, 2), EQorvelSettingsError);
  EXPECT_TRUE(sample->Flag);
  EXPECT_THROW(cls.FindProperty("Basket")->SetOrdinal(*sample, 0b1000), EQorvelSettingsError);
  EXPECT_EQ(sample->Basket.Mask(), 0b101u);
  cls.FindProperty("Basket")->SetOrdinal(*sample, 0b010);
  EXPECT_EQ(sample->Basket, TFruits{TFruit::fPear});
  EXPECT_THROW(cls.FindProperty("Letter")->SetOrdinal(*sample, 256), EQorvelSettingsError);
  cls.FindProperty("Letter")->SetOrdinal(*sample, 0xE9);  // a char's ordinal is its code, never negative
  EXPECT_EQ(cls.FindProperty("Letter")->GetOrdinal(*sample), 0xE9);

  // A property used on an object of another class, or given a child of another class.
  EXPECT_EQ(ErrorText([&] { cls.FindProperty("Number")->GetOrdinal(*sample->First); }),
            "Property 'Number' belongs to TSampleSettings, not to TSampleChild.");
  auto stranger = TQorvelSettings::Create<TSampleSettings>();
  EXPECT_EQ(ErrorText([&] { cls.FindProperty("First")->SetChild(*sample, stranger.get()); }),
            "Property 'first' takes a TSampleChild, not a TSampleSettings.");
}

TEST(PropertyAccess, StoredConditions) {
  auto sample = TQorvelSettings::Create<TSampleSettings>();
  EXPECT_TRUE(sample->PropertyByName("Number").IsStored(*sample));
  EXPECT_FALSE(sample->PropertyByName("_Hidden").IsStored(*sample));
}

TEST(SettingsDefaults, SetDefaultsRestoresOnlyDeclaredDefaults) {
  auto sample = TQorvelSettings::Create<TSampleSettings>();
  const auto fresh = SettingsTreeWalk::Walk(*sample);
  SettingsTreeWalk::Scramble(*sample);
  SettingsTreeWalk::ApplyDefaultsBottomUp(*sample);
  auto restored = SettingsTreeWalk::Walk(*sample);
  // Values without a declared default keep what they were changed to.
  EXPECT_EQ(sample->Text, "text&<x");
  EXPECT_EQ(sample->Ratio, 1.75);
  sample->Text = "text";
  sample->Ratio = 0.25;
  sample->WideText = u"wide";
  sample->Big = std::int64_t{1} << 40;
  sample->Lines.clear();
  EXPECT_EQ(SettingsTreeWalk::Walk(*sample), fresh);
}

TEST(SettingsAssign, CopiesEveryPublishedValueExceptChars) {
  auto source = TQorvelSettings::Create<TSampleSettings>();
  auto target = TQorvelSettings::Create<TSampleSettings>();
  const auto before = SettingsTreeWalk::Walk(*target);
  SettingsTreeWalk::Scramble(*source);
  const auto scrambled = SettingsTreeWalk::Walk(*source);
  ASSERT_EQ(scrambled.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) ASSERT_NE(scrambled[i], before[i]) << "scramble missed a value";

  target->Assign(*source);
  auto copied = SettingsTreeWalk::Walk(*target);
  for (std::size_t i = 0; i < copied.size(); ++i) {
    if (copied[i].rfind("Letter", 0) == 0)
      EXPECT_EQ(copied[i], "Letter = q") << "chars are not copied";
    else
      EXPECT_EQ(copied[i], scrambled[i]);
  }
  EXPECT_EQ(target->AssignCustomCalls, 1);
  EXPECT_NE(target->First, source->First) << "children are copied into, not shared";
}

TEST(SettingsAssign, RefusesAnyOtherClass) {
  auto sample = TQorvelSettings::Create<TSampleSettings>();
  auto derived = TQorvelSettings::Create<TNoChildrenSettings>();
  auto child = TQorvelSettings::Create<TSampleChild>();
  EXPECT_EQ(ErrorText([&] { sample->Assign(*child); }), "Cannot copy TSampleChild to TSampleSettings.");
  EXPECT_EQ(ErrorText([&] { sample->Assign(*derived); }), "Cannot copy TNoChildrenSettings to TSampleSettings.");
  EXPECT_EQ(ErrorText([&] { derived->Assign(*sample); }), "Cannot copy TSampleSettings to TNoChildrenSettings.");
  EXPECT_EQ(sample->AssignCustomCalls, 0);
}

TEST(SettingsErrors, DeriveFromTheCommonErrorClass) {
  try {
    throw EQorvelSettingsError("message");
  } catch (const EQorvelError& error) {
    EXPECT_STREQ(error.what(), "message");
    EXPECT_EQ(error.Message(), "message");
  }
}

}  // namespace
