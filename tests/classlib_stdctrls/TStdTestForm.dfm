object fStd: TStdTestForm
  Left = 60
  Top = 60
  BorderStyle = bsSingle
  Caption = 'Kontrolki standardowe'
  ClientWidth = 420
  ClientHeight = 260
  Font.Name = 'Tahoma'
  Font.Height = -11
  OnCreate = FormCreate
  object nb: TNotebook
    Align = alClient
    PageIndex = 1
    OnPageChanged = nbPageChanged
    object pgPierwsza: TPage
      Caption = 'Pierwsza'
      HelpContext = 11
      object eImie: TEdit
        Left = 10
        Top = 10
        OnChange = eImieChange
        Text = 'Jan'
      end
    end
    object pgDruga: TPage
      Caption = 'Druga'
      HelpContext = 12
      object lbLista: TListBox
        Left = 10
        Top = 10
        Width = 120
        Height = 100
        Sorted = True
        Items.Strings = (
          'żółw'
          'Ala'
          'łoś'
          'Ęta'
          'bąk')
      end
      object mNotatki: TMemo
        Left = 140
        Top = 10
        Width = 150
        Height = 100
        ReadOnly = True
        ScrollBars = ssVertical
        Lines.Strings = (
          'Pierwsza linia'
          ''
          'Trzecia linia')
      end
      object cbZgoda: TCheckBox
        Left = 10
        Top = 120
        OnClick = cbZgodaClick
        Caption = '&Zgoda'
        Checked = True
      end
      object rbA: TRadioButton
        Left = 10
        Top = 145
        Caption = 'Wariant &A'
        Checked = True
      end
      object rbB: TRadioButton
        Left = 10
        Top = 165
        Caption = 'Wariant &B'
      end
    end
    object pgTrzecia: TPage
      Caption = 'Trzecia'
      object pnRamka: TPanel
        Left = 10
        Top = 10
        Width = 200
        Height = 100
        BevelOuter = bvLowered
        BevelInner = bvRaised
        BevelWidth = 2
        BorderWidth = 3
        Caption = ''
        object lbOpis: TLabel
          Align = alClient
          AutoSize = False
          WordWrap = True
          Caption = 'Opis w ramce'
        end
      end
    end
  end
  object tmZegar: TTimer
    Enabled = False
    Interval = 30
    OnTimer = tmZegarTimer
  end
end
