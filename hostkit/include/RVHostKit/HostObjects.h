/// \file HostObjects.h
/// \brief Host objects for every host interface, each logging its calls to one CCallLog and
/// answering as the test programs it.
#pragma once
#include "RVWindow.h"
#include "RVHostKit/CallLog.h"

#include <functional>
#include <map>

namespace RVHostKit
{

/// \brief Reference counting shared by the host objects; the count is visible so that tests
/// can check that the component gives back every reference it took.
/// \tparam Interfaces the host interfaces the object implements.
template <class... Interfaces>
class CTestObject : public Interfaces...
{
public:
    /// \brief An object with one reference, the creating test's.
    /// \param log the log its calls go to.
    explicit CTestObject(CCallLog& log) : m_log(log) {}
    /// \brief Destroyed by the last Release.
    virtual ~CTestObject() = default;

    /// \brief Counts a reference (not logged).
    /// \return the new count.
    STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++m_cRef); }
    /// \brief Drops a reference (not logged); the last one destroys the object.
    /// \return the new count.
    STDMETHOD_(ULONG, Release)() override
    {
        const long count = --m_cRef;
        if (count == 0) delete this;
        return static_cast<ULONG>(count);
    }
    /// \brief The references held now: 1 when only the creating test holds it.
    /// \return the count.
    long RefCount() const { return m_cRef; }

protected:
    /// The log every call goes to.
    CCallLog& m_log;
    /// The reference count; the creating test holds the first reference.
    long m_cRef = 1;
};

/// \brief The host's message handler: IMessage, and IMessage2 when enabled. Each call is logged
/// as `IMessage::Send(...)`, `IMessage::SendWithDataID(...)` or `IMessage2::Send(...)` with
/// every argument, `data` as the item's name.
class CTestMessage final : public CTestObject<IMessage>
{
public:
    /// \brief A handler that answers 0 to everything and offers IMessage2.
    /// \param log the log its calls go to.
    explicit CTestMessage(CCallLog& log) : CTestObject(log), m_message2(*this) {}

    /// \brief Gives IUnknown, IMessage and (when offerMessage2) IMessage2; a question for
    /// IMessage2 is logged as `IMessage::QueryInterface(IMessage2) -> ok` or `-> none`.
    /// \param iid the interface asked for.
    /// \param ppv receives it.
    /// \return S_OK, E_NOINTERFACE, or E_POINTER when `ppv` is null.
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;
    /// \brief Logs the call, runs onMessage, writes the programmed answer.
    /// \param wID the item's type.
    /// \param wMsg the message code.
    /// \param Size 4 or 0.
    /// \param data the item handle.
    /// \param pResult receives answers[wMsg] when one is programmed (else stays as it is).
    /// \return S_OK.
    STDMETHOD(Send)(ULONG wID, USHORT wMsg, ULONG Size, BYTE* data, LONG* pResult) override;
    /// \brief Logs the call, runs onMessage, writes the programmed answer.
    /// \param dataID the item's data set.
    /// \param wID the item's type.
    /// \param wMsg the message code.
    /// \param Size 4.
    /// \param data the item handle.
    /// \param pResult receives answers[wMsg] when one is programmed.
    /// \return S_OK.
    STDMETHOD(SendWithDataID)(ULONG dataID, ULONG wID, USHORT wMsg, ULONG Size, BYTE* data,
                              LONG* pResult) override;

    /// Message code → the value written through `pResult` (a veto when not 0).
    std::map<unsigned short, long> answers;
    /// Whether QueryInterface gives IMessage2.
    bool offerMessage2 = true;
    /// Runs inside every message (after logging, before the answer is written), with the code
    /// and the item handle: for re-entrant tests.
    std::function<void(unsigned short wMsg, BYTE* data)> onMessage;

private:
    // IMessage2 has a Send of the same shape as IMessage's, so it is a face of its own.
    class CMessage2 final : public IMessage2
    {
    public:
        explicit CMessage2(CTestMessage& owner) : m_owner(owner) {}
        STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override { return m_owner.QueryInterface(iid, ppv); }
        STDMETHOD_(ULONG, AddRef)() override { return m_owner.AddRef(); }
        STDMETHOD_(ULONG, Release)() override { return m_owner.Release(); }
        STDMETHOD(Send)(ULONG wID, USHORT wMsg, ULONG Size, BYTE* data, LONG* pResult) override;

    private:
        CTestMessage& m_owner;
    };

    HRESULT Answer(unsigned short wMsg, BYTE* data, LONG* pResult);

    CMessage2 m_message2;
};

/// \brief The host's sink, logged as `Sink::...`; its locks and answers are fields a test sets.
class CTestSink final : public CTestObject<IRavlinWindowSink>
{
public:
    /// \brief A sink with both locks clear.
    /// \param log the log its calls go to.
    explicit CTestSink(CCallLog& log) : CTestObject(log) {}

    /// \brief Gives IUnknown and IRavlinWindowSink (not logged).
    /// \param iid the interface asked for.
    /// \param ppv receives it.
    /// \return S_OK, E_NOINTERFACE, or E_POINTER when `ppv` is null.
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;
    /// \brief Logs `Sink::SetSelectionLock(n)` and keeps the value in selectionLock.
    /// \param bLock the lock.
    /// \return S_OK.
    STDMETHOD(SetSelectionLock)(LONG bLock) override;
    /// \brief Logs `Sink::SetVisibilityLock(n)` and keeps the value in visibilityLock.
    /// \param bLock the lock.
    /// \return S_OK.
    STDMETHOD(SetVisibilityLock)(LONG bLock) override;
    /// \brief Logs `Sink::IsSelectionLock` and answers selectionLock.
    /// \param pbLock receives it.
    /// \return S_OK.
    STDMETHOD(IsSelectionLock)(LONG* pbLock) override;
    /// \brief Logs `Sink::IsVisibilityLock` and answers visibilityLock.
    /// \param pbLock receives it.
    /// \return S_OK.
    STDMETHOD(IsVisibilityLock)(LONG* pbLock) override;
    /// \brief Logs `Sink::SetMenuMask(0x...)`.
    /// \param mask the menu mask.
    /// \return S_OK.
    STDMETHOD(SetMenuMask)(ULONG mask) override;
    /// \brief Logs `Sink::GetFirstSelectedOrvaneItem` and answers firstSelectedKey.
    /// \param pKey receives it.
    /// \return S_OK.
    STDMETHOD(GetFirstSelectedOrvaneItem)(ULONG* pKey) override;
    /// \brief Logs `Sink::NotifySelectedTypeID(n)`.
    /// \param typeID the item's type.
    /// \return S_OK.
    STDMETHOD(NotifySelectedTypeID)(int typeID) override;
    /// \brief Logs `Sink::NotifyRButtonUp(0xflags, (x,y), menuKey)`.
    /// \param nFlags the flags.
    /// \param point the screen point.
    /// \param menuKey the menu key.
    /// \return S_OK.
    STDMETHOD(NotifyRButtonUp)(UINT nFlags, POINT point, int menuKey) override;

    /// The selection lock as last set by the tree (or the test).
    long selectionLock = 0;
    /// The visibility lock as last set by the tree, and IsVisibilityLock's answer.
    long visibilityLock = 0;
    /// GetFirstSelectedOrvaneItem's answer.
    unsigned long firstSelectedKey = 0;
};

/// \brief The 3D view's visibility interface, logged as `Vis::...`.
class CTestVisibility final : public CTestObject<IVisibilityManager>
{
public:
    /// \brief A view that accepts every change.
    /// \param log the log its calls go to.
    explicit CTestVisibility(CCallLog& log) : CTestObject(log) {}

    /// \brief Gives IUnknown and IVisibilityManager (not logged).
    /// \param iid the interface asked for.
    /// \param ppv receives it.
    /// \return S_OK, E_NOINTERFACE, or E_POINTER when `ppv` is null.
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;
    /// \brief Logs `Vis::SetVisible(key)`.
    /// \param keyIn the model key.
    /// \return failures[key] when programmed, else S_OK.
    STDMETHOD(SetVisible)(ULONG keyIn) override;
    /// \brief Logs `Vis::SetInvisible(key)`.
    /// \param keyIn the model key.
    /// \return failures[key] when programmed, else S_OK.
    STDMETHOD(SetInvisible)(ULONG keyIn) override;
    /// \brief Logs `Vis::GetVisibility(key)`.
    /// \param keyIn the model key.
    /// \param pOnOrOff receives visibility[key], 0 when not programmed.
    /// \return S_OK.
    STDMETHOD(GetVisibility)(ULONG keyIn, LONG* pOnOrOff) override;

    /// Model key → the result SetVisible and SetInvisible give instead of S_OK.
    std::map<unsigned long, HRESULT> failures;
    /// Model key → GetVisibility's answer.
    std::map<unsigned long, long> visibility;
};

/// \brief The 3D view, with IViewNodeQuery when enabled; logged as `View3D::Draw` and
/// `NodeQuery::...`.
class CTestView3D final : public CTestObject<IView3DObjects, IViewNodeQuery>
{
public:
    /// \brief A view that offers IViewNodeQuery and allows every lock.
    /// \param log the log its calls go to.
    explicit CTestView3D(CCallLog& log) : CTestObject(log) {}

    /// \brief Gives IUnknown, IView3DObjects and (when offerNodeQuery) IViewNodeQuery; a
    /// question for IViewNodeQuery is logged as `View3D::QueryInterface(IViewNodeQuery) -> ok`
    /// or `-> none`.
    /// \param iid the interface asked for.
    /// \param ppv receives it.
    /// \return S_OK, E_NOINTERFACE, or E_POINTER when `ppv` is null.
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;
    /// \brief Logs `View3D::Draw`.
    /// \return S_OK.
    STDMETHOD(Draw)() override;
    /// \brief Logs `NodeQuery::IsNodeLoaded(key)`.
    /// \param key the model key.
    /// \param pbLoaded receives 1.
    /// \return S_OK.
    STDMETHOD(IsNodeLoaded)(ULONG key, LONG* pbLoaded) override;
    /// \brief Logs `NodeQuery::IsNodeVisible(key)`.
    /// \param key the model key.
    /// \param pbVisible receives 1.
    /// \return S_OK.
    STDMETHOD(IsNodeVisible)(ULONG key, LONG* pbVisible) override;
    /// \brief Logs `NodeQuery::CanLockNode(key)`.
    /// \param key the model key.
    /// \param pbCanLock receives canLock[key], 1 when not programmed.
    /// \return S_OK.
    STDMETHOD(CanLockNode)(ULONG key, LONG* pbCanLock) override;

    /// Whether QueryInterface gives IViewNodeQuery.
    bool offerNodeQuery = true;
    /// Model key → CanLockNode's answer (default 1).
    std::map<unsigned long, long> canLock;
};

/// \brief The 3D object manager Init takes (the tree never calls it).
class CTestManage3D final : public CTestObject<IManage3DObjects>
{
public:
    /// \brief The object.
    /// \param log the log (nothing is logged).
    explicit CTestManage3D(CCallLog& log) : CTestObject(log) {}
    /// \brief Gives IUnknown and IManage3DObjects.
    /// \param iid the interface asked for.
    /// \param ppv receives it.
    /// \return S_OK, E_NOINTERFACE, or E_POINTER when `ppv` is null.
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) override;
};

} // namespace RVHostKit
