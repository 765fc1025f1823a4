#include "view3d/opengl/GLContextManager.h"

#include <algorithm>

#include "view3d/opengl/GLContext.h"
#include "view3d/opengl/GLErrors.h"

TGLContextManager& GLContextManager()
{
    static TGLContextManager manager;
    return manager;
}

std::unique_ptr<TGLContext> TGLContextManager::NewContext() const
{
    TContextFactory factory;
    {
        const std::lock_guard guard(Lock);
        if (ContextClasses.empty() || TerminatedValue)
            return nullptr;
        factory = ContextClasses.front();
    }
    return factory();
}

void TGLContextManager::RegisterContextClass(TContextFactory factory)
{
    const std::lock_guard guard(Lock);
    ContextClasses.push_back(std::move(factory));
}

void TGLContextManager::RegisterContext(TGLContext& context)
{
    const std::lock_guard guard(Lock);
    if (std::find(Contexts.begin(), Contexts.end(), &context) != Contexts.end())
        throw EGLContextError("Invalid context registration");
    Contexts.push_back(&context);
}

void TGLContextManager::UnregisterContext(TGLContext& context)
{
    const std::lock_guard guard(Lock);
    const auto found = std::find(Contexts.begin(), Contexts.end(), &context);
    if (found == Contexts.end())
        throw EGLContextError("Invalid context registration");
    Contexts.erase(found);
}

int TGLContextManager::ContextCount() const
{
    const std::lock_guard guard(Lock);
    return static_cast<int>(Contexts.size());
}

void TGLContextManager::ContextCreated()
{
    const std::lock_guard guard(Lock);
    ++CreatedContexts;
}

void TGLContextManager::ContextDestroyed()
{
    const std::lock_guard guard(Lock);
    --CreatedContexts;
}

int TGLContextManager::CreatedContextCount() const
{
    const std::lock_guard guard(Lock);
    return CreatedContexts;
}

void TGLContextManager::Terminate()
{
    const std::lock_guard guard(Lock);
    TerminatedValue = true;
    ContextClasses.clear();
}

bool TGLContextManager::Terminated() const
{
    const std::lock_guard guard(Lock);
    return TerminatedValue;
}
