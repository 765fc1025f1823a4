#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/FakeGLContext.h"
#include "support/GLCallLog.h"
#include "view3d/opengl/GLContext.h"
#include "view3d/opengl/GLContextHandle.h"
#include "view3d/opengl/GLContextManager.h"
#include "view3d/opengl/GLErrors.h"

namespace {

using Calls = std::vector<std::string>;

std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "(nothing raised)";
}

class GLContextTest : public testing::Test {
protected:
    TGLDevice Device;
    TGLCallLog Log;
};

TEST_F(GLContextTest, NestedActivationReachesThePlatformOnceEachWay)
{
    TFakeContext context;
    EXPECT_EQ(MessageOf([&] { context.Activate(); }), "Context not created");
    context.CreateContext(Device);
    EXPECT_EQ(MessageOf([&] { context.CreateContext(Device); }), "Context already created");

    context.Activate();
    context.Activate();
    EXPECT_EQ(CurrentGLContext(), &context);
    context.Deactivate();
    EXPECT_TRUE(context.Active());
    context.Deactivate();
    EXPECT_FALSE(context.Active());
    EXPECT_EQ(CurrentGLContext(), nullptr);
    EXPECT_EQ(context.Activations, 1);
    EXPECT_EQ(context.Deactivations, 1);

    EXPECT_EQ(MessageOf([&] { context.Deactivate(); }), "Unbalanced context activations");
    // The failed call leaves the count at 0: the next activation still reaches the platform.
    context.Activate();
    EXPECT_EQ(context.Activations, 2);
    EXPECT_EQ(CurrentGLContext(), &context);
    context.SetActive(false);

    // A platform that refuses leaves the count as it was.
    context.FailActivation = true;
    EXPECT_EQ(MessageOf([&] { context.Activate(); }), "Context activation failed: 0, refused");
    EXPECT_FALSE(context.Active());
    EXPECT_EQ(CurrentGLContext(), nullptr);
}

TEST_F(GLContextTest, AnActiveContextKeepsItsFormat)
{
    TFakeContext context;
    context.CreateContext(Device);
    context.SetDepthBits(24);
    context.Activate();
    const std::vector<std::function<void()>> setters = {
        [&] { context.SetColorBits(16); },   [&] { context.SetAlphaBits(8); },
        [&] { context.SetDepthBits(16); },   [&] { context.SetStencilBits(8); },
        [&] { context.SetAccumBits(8); },    [&] { context.SetAuxBuffers(1); },
        [&] { context.SetAntiAliasing(TGLAntiAliasing::aa4x); },
        [&] { context.SetOptions({true, false}); },
    };
    for (const auto& set : setters)
        EXPECT_EQ(MessageOf(set), "Cannot alter an active context");
    EXPECT_EQ(context.DepthBits(), 24);
    EXPECT_EQ(context.ColorBits(), 32);
    EXPECT_EQ(context.AntiAliasing(), TGLAntiAliasing::aaDefault);
    context.Deactivate();
    context.SetDepthBits(16);
    EXPECT_EQ(context.DepthBits(), 16);
}

TEST_F(GLContextTest, HandlesMoveToASharingContextAndTheLastOneDeletesThem)
{
    TFakeContext first;
    TFakeContext second;
    first.CreateContext(Device);
    second.CreateContext(Device);
    EXPECT_EQ(MessageOf([] {
                  TFakeContext uncreated;
                  TFakeContext other;
                  uncreated.ShareLists(other);
              }),
              "Context not created");
    first.ShareLists(second);
    EXPECT_TRUE(second.SharesListsWith(first));

    TGLListHandle list;
    TGLTextureHandle texture;
    first.Activate();
    list.AllocateHandle();
    texture.AllocateHandle();
    first.Deactivate();
    EXPECT_EQ(list.RenderingContext(), &first);
    Log.Take();

    first.DestroyContext();
    EXPECT_EQ(Log.Take(), Calls{}) << "nothing is deleted while another context shares the lists";
    EXPECT_EQ(list.RenderingContext(), &second);
    EXPECT_EQ(texture.RenderingContext(), &second);
    EXPECT_FALSE(second.SharesListsWith(first));
    EXPECT_EQ(list.Handle(), 1u);

    second.DestroyContext();
    // Each walk goes from the last handle to the first, so the move reversed them.
    EXPECT_EQ(Log.Take(), (Calls{"GetError", "DeleteLists 1 1", "GetError", "GetError", "IsTexture 2",
                                 "DeleteTextures 1 2", "GetError"}));
    EXPECT_EQ(list.Handle(), 0u);
    EXPECT_EQ(list.RenderingContext(), nullptr);
    EXPECT_EQ(second.Acceleration(), TGLAcceleration::Unknown);
}

TEST_F(GLContextTest, AHandleIsFreedInItsOwnContext)
{
    TFakeContext owner;
    TFakeContext other;
    owner.CreateContext(Device);
    other.CreateContext(Device);
    auto list = std::make_unique<TGLListHandle>();
    owner.Activate();
    list->AllocateHandle();
    owner.Deactivate();

    other.Activate();
    Log.Take();
    list.reset();
    EXPECT_EQ(Log.Take(), (Calls{"GetError", "DeleteLists 1 1", "GetError"}));
    EXPECT_EQ(owner.Activations, 2) << "the owner was made current for the deletion";
    EXPECT_EQ(CurrentGLContext(), &other) << "and the previous context current again";
    other.Deactivate();

    // A number of 0 is never freed.
    TGLTextureHandle none;
    none.DestroyHandle();
    EXPECT_EQ(Log.Take(), Calls{});
}

TEST_F(GLContextTest, VirtualHandlesAndTheErrorCheck)
{
    TFakeContext context;
    context.CreateContext(Device);
    std::vector<std::uint32_t> destroyed;
    TGLVirtualHandle handle;
    handle.OnAllocate = [](TGLVirtualHandle&, std::uint32_t& number) { number = 42; };
    handle.OnDestroy = [&](TGLVirtualHandle&, std::uint32_t& number) { destroyed.push_back(number); };
    context.Activate();
    handle.AllocateHandle();
    EXPECT_EQ(handle.Handle(), 42u);

    // The first error is reported after the others are read away.
    Log.PendingErrors = {GL_NO_ERROR, GL_INVALID_ENUM, GL_INVALID_VALUE, GL_INVALID_VALUE};
    EXPECT_EQ(MessageOf([&] { handle.DestroyHandle(); }), "invalid enumerant");
    EXPECT_EQ(destroyed, std::vector<std::uint32_t>{42});
    EXPECT_EQ(handle.Handle(), 0u) << "the number is gone even when the driver complained";
    EXPECT_TRUE(Log.PendingErrors.empty());
    context.Deactivate();

    // Clearing stops after seven reads, whatever the driver says.
    Log.PendingErrors.assign(10, GL_INVALID_VALUE);
    Log.Take();
    ClearGLErrors();
    EXPECT_EQ(Log.Take().size(), 7u);
}

TEST_F(GLContextTest, TheManagerKnowsEveryContext)
{
    const int before = GLContextManager().ContextCount();
    const int createdBefore = GLContextManager().CreatedContextCount();
    {
        TFakeContext context;
        EXPECT_EQ(GLContextManager().ContextCount(), before + 1);
        EXPECT_EQ(MessageOf([&] { GLContextManager().RegisterContext(context); }), "Invalid context registration");
        context.CreateContext(Device);
        EXPECT_EQ(GLContextManager().CreatedContextCount(), createdBefore + 1);
    }
    // The destructor destroyed the platform context and left the list.
    EXPECT_EQ(GLContextManager().ContextCount(), before);
    EXPECT_EQ(GLContextManager().CreatedContextCount(), createdBefore);
    TFakeContext stranger;
    GLContextManager().UnregisterContext(stranger);
    EXPECT_EQ(MessageOf([&] { GLContextManager().UnregisterContext(stranger); }), "Invalid context registration");
    GLContextManager().RegisterContext(stranger);

    TGLContextManager local;
    EXPECT_EQ(local.NewContext(), nullptr);
    local.RegisterContextClass([] { return std::make_unique<TFakeContext>(); });
    EXPECT_NE(dynamic_cast<TFakeContext*>(local.NewContext().get()), nullptr);
    local.Terminate();
    EXPECT_EQ(local.NewContext(), nullptr);
}

} // namespace
