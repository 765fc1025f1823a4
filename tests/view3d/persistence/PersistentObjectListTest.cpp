#include <filesystem>
#include <sstream>
#include <string>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/ArchiveBytes.h"

#include "view3d/persistence/ApplicationFileIO.h"
#include "view3d/persistence/BinaryReader.h"
#include "view3d/persistence/BinaryWriter.h"
#include "view3d/persistence/PersistenceErrors.h"
#include "view3d/persistence/PersistentClassRegistry.h"
#include "view3d/persistence/PersistentObjectList.h"

namespace {

using namespace archive_bytes;

class TPin : public TPersistentObject {
public:
    static constexpr const char* StaticClassName = "TPin";
    std::string ClassName() const override { return StaticClassName; }
    std::string FileSignature() const override { return "PIN1"; }
    void WriteToFiler(TVirtualWriter& writer) const override
    {
        writer.WriteInteger(0);
        writer.WriteInteger(Value);
    }
    void ReadFromFiler(TVirtualReader& reader) override
    {
        const int version = reader.ReadInteger();
        if (version != 0)
            RaiseUnknownArchiveVersion(ClassName(), version);
        Value = reader.ReadInteger();
    }
    int Value = 0;
};

class TOtherPin : public TPin {
public:
    static constexpr const char* StaticClassName = "TOtherPin";
    std::string ClassName() const override { return StaticClassName; }
};

const bool Registered = RegisterPersistentClass<TPin>() && RegisterPersistentClass<TOtherPin>();

// The archive of [TPin 5, nothing, TPin 300, TOtherPin -1], written out by hand.
std::string PinListArchive()
{
    return Bytes({2, 0, 1}) + ShortString("TPin") + Bytes({2, 0, 2, 5}) + Bytes({8, 2, 0}) +
           Bytes({2, 0, 2, 0, 3, 0x2C, 0x01}) + ShortString("TOtherPin") + Bytes({2, 0, 2, 0xFF}) + Bytes({0});
}

TEST(PersistentObjectList, ArchivesEachClassByNameOnceThenByIndex)
{
    ASSERT_TRUE(Registered);
    TPin first;
    first.Value = 5;
    TPin second;
    second.Value = 300;
    TOtherPin third;
    third.Value = -1;
    TPersistentObjectList list;
    list.Add(&first);
    list.Add(nullptr);
    list.Add(&second);
    list.Add(&third);
    const std::string archive = list.SaveToString();
    EXPECT_EQ(archive, PinListArchive());

    TPersistentObjectList read;
    int created = 0;
    TBinaryReader reader(archive);
    read.ReadFromFilerWithEvent(reader, [&](TPersistentObjectList& owner, TPersistentObject&) {
        EXPECT_EQ(&owner, &read);
        ++created;
    });
    EXPECT_EQ(created, 3);
    ASSERT_EQ(read.Count(), 4);
    EXPECT_EQ(read.Get(1), nullptr);
    EXPECT_EQ(read.Get(0)->ClassName(), "TPin");
    EXPECT_EQ(read.Get(3)->ClassName(), "TOtherPin");
    EXPECT_EQ(static_cast<TPin*>(read.Get(2))->Value, 300);
    EXPECT_EQ(static_cast<TPin*>(read.Get(3))->Value, -1);
    EXPECT_EQ(read.SaveToString(), archive);
}

// A slot written as "false, integer" once held a raw reference: reading it
// must give an empty slot, never a pointer made of the integer.
TEST(PersistentObjectList, BrokenArchivesAreRefused)
{
    const struct {
        const char* What;
        std::string Archive;
        const char* Error;
    } cases[] = {
        {"class index past the names", Bytes({2, 0, 1, 2, 0, 0}), "Broken ObjectList archive"},
        {"negative class index", Bytes({2, 0, 1}) + ShortString("TPin") + Bytes({2, 0, 2, 1, 2, -1, 0}),
         "Broken ObjectList archive"},
        {"unknown class", Bytes({2, 0, 1}) + ShortString("TNoSuchClass") + Bytes({0}), "Broken ObjectList archive"},
        {"a float in the list", Bytes({2, 0, 1, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "Broken ObjectList archive"},
        {"version 1", Bytes({2, 1, 1, 0}), "TPersistentObjectList : unknown archive version 1"},
        {"object version 2", Bytes({2, 0, 1}) + ShortString("TPin") + Bytes({2, 2, 2, 5, 0}),
         "TPin : unknown archive version 2"},
        {"cut short", Bytes({2, 0, 1}) + ShortString("TPin") + Bytes({2, 0}), "TBinaryReader, read type error"},
        {"no list end", Bytes({2, 0, 1, 8, 2, 0}), "TBinaryReader, read type error"},
        {"boolean without integer", Bytes({2, 0, 1, 9, 0}), "TBinaryReader, read type error"},
    };
    for (const auto& c : cases) {
        TPersistentObjectList list;
        ExpectRefused(c.What, [&] { list.LoadFromString(c.Archive); }, c.Error);
    }
    TPersistentObjectList list;
    list.LoadFromString(Bytes({2, 0, 1, 9, 4, 0x78, 0x56, 0x34, 0x12, 0}));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Get(0), nullptr);
}

TEST(PersistentObjectList, NestingBeyondTheStackIsRefused)
{
    std::string archive;
    for (int i = 0; i < 100000; ++i)
        archive += Bytes({2, 0, 1}) + ShortString("TPersistentObjectList");
    TPersistentObjectList list;
    EXPECT_THROW(list.LoadFromString(archive), EReadError);
}

TEST(PersistentObjectList, IndexedOperationsCheckTheirIndex)
{
    TPin a;
    TPin b;
    TPersistentObjectList list;
    EXPECT_EQ(list.Add(&a), 0);
    list.Insert(0, &b);
    EXPECT_EQ(list.IndexOf(&a), 1);
    EXPECT_EQ(list.IndexOf(nullptr), -1);
    list.Delete(0);
    EXPECT_EQ(list.Get(0), &a);
    for (int i = 0; i < 16; ++i)
        list.Add(&b);
    EXPECT_EQ(list.Capacity(), 32);
    EXPECT_THROW(list.Get(17), EListError);
    EXPECT_THROW(list.Put(-1, &a), EListError);
    EXPECT_THROW(list.Insert(19, &a), EListError);
    EXPECT_THROW(list.Delete(17), EListError);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
}

TEST(PersistentObject, SignatureFilesStringsAndAssign)
{
    TPin pin;
    pin.Value = 7;
    EXPECT_EQ(pin.SaveToString(), "PIN1" + Bytes({2, 0, 2, 7}));
    TPin copy;
    copy.Assign(pin);
    EXPECT_EQ(copy.Value, 7);
    TOtherPin other;
    EXPECT_THROW(other.Assign(pin), EConvertError);
    ExpectRefused("a wrong signature", [&] { copy.LoadFromString("PIN2" + Bytes({2, 0, 2, 7})); },
                  "Invalid file signature");
    EXPECT_THROW(copy.LoadFromString("PI"), EFilerError);

    QTemporaryDir folder;
    const std::string name = folder.filePath("pin.bin").toStdString();
    pin.Value = -20000;
    pin.SaveToFile(name);
    EXPECT_EQ(std::filesystem::file_size(name), 4u + 2u + 3u);
    copy.LoadFromFile(name);
    EXPECT_EQ(copy.Value, -20000);
    const std::string missing = folder.filePath("missing.bin").toStdString();
    try {
        copy.LoadFromFile(missing);
        ADD_FAILURE() << "a missing file was read";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(std::string(error.what()), "File not found: \"" + missing + "\"");
    }

    std::stringstream stream;
    pin.SaveToStream(stream);
    TPin streamed;
    streamed.LoadFromStream(stream);
    EXPECT_EQ(streamed.Value, -20000);
}

TEST(ApplicationFileIO, HookSuppliesTheStreams)
{
    auto memory = std::make_shared<std::string>();
    EXPECT_FALSE(ApplicationFileIOAvailable());
    SetApplicationFileIOHooks(
        [memory](const std::string&, TFileStreamMode mode) -> std::unique_ptr<std::iostream> {
            if (mode == TFileStreamMode::OpenRead)
                return std::make_unique<std::stringstream>(*memory);
            // Written through the stream the caller keeps; copied back on the next read.
            return nullptr;
        },
        [](const std::string& name) { return name == "in-memory"; });
    EXPECT_TRUE(ApplicationFileIOAvailable());
    EXPECT_TRUE(FileStreamExists("in-memory"));
    EXPECT_FALSE(FileStreamExists("/"));
    *memory = "PIN1" + Bytes({2, 0, 2, 42});
    TPin pin;
    pin.LoadFromFile("in-memory");
    EXPECT_EQ(pin.Value, 42);
    SetApplicationFileIOHooks({}, {});
    EXPECT_FALSE(ApplicationFileIOAvailable());
}

} // namespace
