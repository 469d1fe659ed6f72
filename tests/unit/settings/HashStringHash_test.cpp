#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/QorvelHashes.h"

namespace {

// Exposes where keys live, so that the probing itself can be checked.
class TProbedHash : public TQorvelStringHash<int> {
 public:
  using TQorvelStringHash<int>::TQorvelStringHash;
  using TQorvelStringHash<int>::SlotOf;
};

std::vector<std::string> KeysInOrder(const TQorvelStringHash<int>& hash) {
  std::vector<std::string> keys;
  for (int i = 0; i < hash.Count(); ++i) keys.push_back(hash.KeyAt(i));
  return keys;
}

TEST(HashTableSize, IsTheSmallestPrimeNotBelowTwiceTheCapacity) {
  EXPECT_EQ(TQorvelAbstractHash::TableSizeFor(100), 211);  // 201, 203, 205, 207, 209 are composite
  EXPECT_EQ(TQorvelAbstractHash::TableSizeFor(10), 23);
  EXPECT_EQ(TQorvelAbstractHash::TableSizeFor(12), 29);  // 25 and 27 are composite
  EXPECT_EQ(TQorvelAbstractHash::TableSizeFor(1), 23);   // capacity is at least 10
  EXPECT_EQ(TQorvelAbstractHash::TableSizeFor(-5), 23);

  TQorvelStringHash<int> hash(3);
  EXPECT_EQ(hash.Capacity(), 10);
  EXPECT_EQ(hash.TableSize(), 23);
  EXPECT_EQ(hash.Count(), 0);
}

TEST(HashTableSize, RefusesAbsurdCapacities) {
  EXPECT_THROW(TQorvelStringHash<int>(TQorvelAbstractHash::MaxCapacity + 1), EQorvelError);
}

TEST(HashFunction, ShiftsEachByteInAfterReducing) {
  // ((97 mod 23) << 8 | 98) mod 23 = 1378 mod 23 = 21
  EXPECT_EQ(QorvelStringHashOf("ab", 23), 21u);
  EXPECT_EQ(QorvelStringHashOf("", 23), 0u);
  // Bytes count as unsigned.
  EXPECT_EQ(QorvelStringHashOf("\xE9", 23), 0xE9u % 23);
}

TEST(HashProbing, CollidingKeysTakeQuadraticOffsets) {
  TProbedHash hash(10);
  hash.SetCaseSensitive(true);
  // "a" (97), "x" (120) and "3" (51) all hash to 5 in a table of 23 slots.
  ASSERT_TRUE(hash.Add("a", 1));
  ASSERT_TRUE(hash.Add("x", 2));
  ASSERT_TRUE(hash.Add("3", 3));
  EXPECT_EQ(hash.SlotOf("a"), 5);
  EXPECT_EQ(hash.SlotOf("x"), 6);  // 5 + 1
  EXPECT_EQ(hash.SlotOf("3"), 9);  // 5 + 4
  EXPECT_EQ(hash.Find("3"), 3);
}

TEST(HashProbing, DeletedSlotsKeepLaterKeysReachableAndAreReused) {
  TProbedHash hash(10);
  hash.SetCaseSensitive(true);
  hash.Add("a", 1);
  hash.Add("x", 2);
  hash.Add("3", 3);

  ASSERT_TRUE(hash.Delete("x"));
  EXPECT_FALSE(hash.Contains("x"));
  EXPECT_EQ(hash.Find("3"), 3) << "a deleted slot must not end the probe";
  EXPECT_EQ(hash.SlotOf("x"), -1);

  // "\x8F" (143) hashes to 5 too and takes the deleted slot 6.
  ASSERT_TRUE(hash.Add("\x8F", 4));
  EXPECT_EQ(hash.SlotOf("\x8F"), 6);
  EXPECT_EQ(hash.Count(), 3);
}

TEST(HashAdd, KeepsTheFirstValueOfAKey) {
  TQorvelStringHash<int> hash;
  EXPECT_TRUE(hash.Add("ruler", 1));
  EXPECT_FALSE(hash.Add("ruler", 2));
  EXPECT_FALSE(hash.Add("RULER", 3));
  EXPECT_EQ(hash.Find("ruler"), 1);
  EXPECT_EQ(hash.Count(), 1);
}

TEST(HashGrowth, DoublesCapacityAndKeepsInsertionOrder) {
  TQorvelStringHash<int> hash(10);
  std::vector<std::string> added;
  for (int i = 0; i < 10; ++i) {
    added.push_back("key" + std::to_string(i));
    hash.Add(added.back(), i);
  }
  EXPECT_EQ(hash.Capacity(), 10);
  EXPECT_EQ(hash.TableSize(), 23);

  added.push_back("key10");
  hash.Add("key10", 10);
  EXPECT_EQ(hash.Capacity(), 20);
  EXPECT_EQ(hash.TableSize(), 41);
  EXPECT_EQ(KeysInOrder(hash), added);
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(hash.Find("key" + std::to_string(i)), i);

  for (int i = 11; i < 200; ++i) hash.Add("key" + std::to_string(i), i);
  EXPECT_EQ(hash.Capacity(), 320);
  EXPECT_EQ(hash.Count(), 200);
  EXPECT_EQ(hash.KeyAt(150), "key150");
  EXPECT_EQ(hash.Find("key199"), 199);
}

TEST(HashDelete, MovesTheLastKeyIntoTheGap) {
  TQorvelStringHash<int> hash;
  for (const char* key : {"a", "b", "c", "d"}) hash.Add(key, key[0]);
  ASSERT_TRUE(hash.Delete("b"));
  EXPECT_EQ(KeysInOrder(hash), (std::vector<std::string>{"a", "d", "c"}));
  EXPECT_EQ(hash.ValueAt(1), 'd');

  ASSERT_TRUE(hash.Delete("c"));  // the last entry: nothing moves
  EXPECT_EQ(KeysInOrder(hash), (std::vector<std::string>{"a", "d"}));
  EXPECT_FALSE(hash.Delete("c"));
  EXPECT_EQ(hash.Count(), 2);

  // Deleting and adding many times must neither lose entries nor fill the table.
  for (int round = 0; round < 500; ++round) {
    hash.Add("temp" + std::to_string(round), round);
    ASSERT_TRUE(hash.Delete("temp" + std::to_string(round)));
  }
  EXPECT_EQ(KeysInOrder(hash), (std::vector<std::string>{"a", "d"}));
  EXPECT_EQ(hash.Find("d"), 'd');
}

TEST(HashIteration, OutsideTheEntriesGivesNothing) {
  TQorvelStringHash<const char*> hash;
  hash.Add("one", "1");
  EXPECT_EQ(hash.KeyAt(-1), "");
  EXPECT_EQ(hash.ValueAt(1), nullptr);
  EXPECT_EQ(hash.Find("two"), nullptr);
}

TEST(HashCaseSensitivity, InsensitiveByDefaultKeepingTheKeyAsAdded) {
  TQorvelStringHash<int> hash;
  EXPECT_FALSE(hash.CaseSensitive());
  hash.Add("ColorPicker", 7);
  EXPECT_EQ(hash.Find("colorpicker"), 7);
  EXPECT_EQ(hash.Find("COLORPICKER"), 7);
  EXPECT_EQ(hash.KeyAt(0), "ColorPicker");
  EXPECT_TRUE(hash.Delete("COLORPICKER"));
}

TEST(HashCaseSensitivity, SwitchingRebuildsInOrder) {
  TQorvelStringHash<int> hash;
  hash.Add("Beta", 2);
  hash.Add("alpha", 1);
  hash.SetCaseSensitive(true);
  EXPECT_FALSE(hash.Contains("beta"));
  EXPECT_EQ(hash.Find("Beta"), 2);
  EXPECT_EQ(KeysInOrder(hash), (std::vector<std::string>{"Beta", "alpha"}));

  hash.Add("BETA", 3);
  EXPECT_EQ(hash.Count(), 3);
  // Becoming case-insensitive would merge "Beta" and "BETA": refused, nothing lost.
  EXPECT_THROW(hash.SetCaseSensitive(false), EQorvelError);
  EXPECT_TRUE(hash.CaseSensitive());
  EXPECT_EQ(hash.Find("BETA"), 3);
  EXPECT_EQ(hash.Find("Beta"), 2);

  ASSERT_TRUE(hash.Delete("BETA"));
  hash.SetCaseSensitive(false);
  EXPECT_EQ(hash.Find("beta"), 2);
  EXPECT_EQ(KeysInOrder(hash), (std::vector<std::string>{"Beta", "alpha"}));
}

}  // namespace
