object eMain: TeMain
  Caption = 'Lumero'
  ClientWidth = 636
  ClientHeight = 496
  Color = 14145476
  Font.Charset = 238
  Font.Height = -11
  Font.Name = 'Tahoma'
  Position = poScreenCenter
  WindowState = wsMaximized
  OnShow = FormShow
  object pGora: TPanel
    Align = alTop
    Height = 15
    BevelOuter = bvNone
    Color = 5066163
    object pLumero: TPanel
      Align = alLeft
      Width = 181
      BevelOuter = bvNone
      Color = clBlack
      Caption = 'Lumero 2000'
      Font.Color = clWhite
      Font.Style = [fsBold]
    end
  end
  object pNaglowek: TPanel
    Align = alTop
    Height = 20
    BevelOuter = bvNone
    Color = 5066163
    object lbCaption: TLabel
      Align = alLeft
      AutoSize = False
      Width = 181
      Layout = tlBottom
      Transparent = True
      Font.Color = clWhite
      Font.Height = -15
      Font.Name = 'Tahoma'
      Font.Style = [fsBold]
    end
    object ts: TqmxTabSet
      Align = alClient
      BackgroundColor = 14145476
      SelectedColor = 5066163
      UnselectedColor = 11447944
      Font.Color = clWhite
      Tabs.Strings = (
        '&Aplikacje'
        '&Dane osobowe'
        '&Kopie zapasowe'
        '&Pliki danych'
        '&Usuń programy')
      TabIndex = 4
      Notebook = nb
    end
  end
  object pDol: TPanel
    Align = alBottom
    Height = 15
    BevelOuter = bvNone
    Color = 5066163
    object pOrvath: TPanel
      Align = alLeft
      Width = 181
      BevelOuter = bvNone
      Color = clBlack
      Caption = 'Orvath'
      Font.Color = clWhite
      Font.Style = [fsBold]
    end
  end
  object nb: TNotebook
    Align = alClient
    PageIndex = 4
    OnPageChanged = nbPageChanged
    object pg0: TPage
      Caption = '&Aplikacje'
      object pLewy0: TPanel
        Align = alLeft
        Width = 181
        BevelOuter = bvNone
        BorderWidth = 4
        Color = 5066163
        object lbOpisAplikacji: THTMLabel
          Align = alClient
          Font.Color = clWhite
          HTMLText.Strings = (
          '<b>Twoje aplikacje</b><br><br>'
          'Tu widzisz programy Orvath, które są zainstalowane na tym komputerze: '
          'ich wersje i daty instalacji.')
        end
        object bAktualizacjaInternetowa: TqmxColorButton
          Align = alBottom
          Height = 33
          Caption = 'Aktualizacja internetowa...'
          BorderColor = clTeal
          Color = 15263965
          RoundSize = 24
          SingleLine = True
          Kind = bkCustom
          OnClick = bAktualizacjaClick
        end
      end
      object pKlient0: TPanel
        Align = alClient
        BevelOuter = bvNone
        BorderWidth = 4
        Color = 14145476
        object lbAplikacjeOpis: TLabel
          Align = alTop
          Height = 20
          Caption = 'W systemie posiadasz zainstalowane następujące aplikacje Orvath:'
          Transparent = True
        end
        object lbAplikacje: TqmxHTMListbox
          Align = alClient
          ItemHeight = 49
          Multiline = True
          Sorted = True
          SelectionColor = 8026706
        end
      end
    end
    object pg1: TPage
      Caption = '&Dane osobowe'
      object pLewy1: TPanel
        Align = alLeft
        Width = 181
        BevelOuter = bvNone
        BorderWidth = 4
        Color = 5066163
        object HTMListbox1: TqmxHTMListbox
          Align = alClient
          Color = 5066163
          Font.Color = clWhite
          Multiline = True
          Items.Strings = (
          'Twoje dane osobowe są przechowywane w Rejestrze Windows.'
          'Możesz je poprawić na tej stronie.')
        end
        object bAktualizacja: TqmxColorButton
          Align = alBottom
          Height = 33
          Caption = 'Aktualizacja internetowa...'
          BorderColor = clTeal
          Color = 15263965
          RoundSize = 24
          SingleLine = True
          Kind = bkCustom
          OnClick = bAktualizacjaClick
        end
      end
      object pKlient1: TPanel
        Align = alClient
        BevelOuter = bvNone
        BorderWidth = 4
        Color = 14145476
        object qmxUserData1: TqmxUserData
          Left = 4
          Top = 4
          Width = 340
          Height = 260
          ColCount = 2
          RowCount = 15
          DefaultRowHeight = 17
          Navigation.AdvanceOnEnter = True
          Navigation.AdvanceDirection = adLeftRight
          ColumnSize.Stretch = True
        end
      end
    end
    object pg2: TPage
      Caption = '&Kopie zapasowe'
      object pLewy2: TPanel
        Align = alLeft
        Width = 181
        BevelOuter = bvNone
        BorderWidth = 4
        Color = 5066163
        object bKopiaZapasowa: TqmxColorButton
          Align = alBottom
          Height = 33
          OnClick = bKopiaZapasowaClick
          Caption = 'Wykonaj kopię zapasową'
          BorderColor = clTeal
          Color = 15263965
          RoundSize = 24
          SingleLine = True
          Kind = bkCustom
        end
      end
      object pKlient2: TPanel
        Align = alClient
        BevelOuter = bvNone
        BorderWidth = 4
        Color = 14145476
        object lbKopieOpis: TLabel
          Align = alTop
          Height = 20
          Caption = 'Na dysku znalazłem następujące kopie zapasowe...'
          Transparent = True
        end
        object pKopiePrawy: TPanel
          Align = alRight
          Width = 200
          BevelOuter = bvNone
          Color = 14145476
          object bOdswiezListeKopii: TqmxColorButton
            Align = alTop
            Height = 33
            OnClick = bOdswiezListeKopiiClick
            Caption = '< Odśwież listę'
            BorderColor = clTeal
            Color = 15263965
            RoundSize = 24
            SingleLine = True
            Kind = bkCustom
          end
          object bPokazZawartoscCaba: TqmxColorButton
            Align = alTop
            Height = 33
            OnClick = bPokazZawartosCabaClick
            Caption = 'Pokaż zawartość tej kopii'
            BorderColor = clTeal
            Color = 15263965
            RoundSize = 24
            SingleLine = True
            Kind = bkCustom
          end
          object bUsunKopie: TqmxColorButton
            Align = alBottom
            Height = 33
            OnClick = bUsunKopieClick
            Caption = '&Usuń tę kopię z dysku'
            BorderColor = clTeal
            Color = 15263965
            RoundSize = 24
            SingleLine = True
            Kind = bkCustom
          end
          object lbZawartoscCaba: TqmxHTMListbox
            Align = alClient
            Multiline = True
            SelectionColor = 8026706
            OnAnchorClick = lbZawartoscCabaAnchorClick
          end
        end
        object lbKopie: TqmxHTMListbox
          Align = alClient
          Multiline = True
          SelectionColor = 8026706
          OnDblClick = bPokazZawartosCabaClick
        end
      end
    end
    object pg3: TPage
      Caption = '&Pliki danych'
      object pLewy3: TPanel
        Align = alLeft
        Width = 181
        BevelOuter = bvNone
        BorderWidth = 4
        Color = 5066163
        object bPusty3: TqmxColorButton
          Align = alBottom
          Height = 33
          Caption = ''
          BorderColor = clTeal
          Color = 15263965
          RoundSize = 24
          SingleLine = True
          Kind = bkCustom
        end
      end
      object pKlient3: TPanel
        Align = alClient
        BevelOuter = bvNone
        BorderWidth = 4
        Color = 14145476
        object lbPlikiDanychOpis: TLabel
          Align = alTop
          Height = 20
          Caption = 'Na dysku znalazłem następujące pliki z danymi:'
          Transparent = True
        end
        object lbPlikiDanych: TqmxHTMListbox
          Align = alClient
          ItemHeight = 49
          Multiline = True
          Sorted = True
          SelectionColor = 8026706
        end
      end
    end
    object pg4: TPage
      Caption = '&Usuń programy'
      object pLewy4: TPanel
        Align = alLeft
        Width = 181
        BevelOuter = bvNone
        BorderWidth = 4
        Color = 5066163
        object bPusty4: TqmxColorButton
          Align = alBottom
          Height = 33
          Caption = ''
          BorderColor = clTeal
          Color = 15263965
          RoundSize = 24
          SingleLine = True
          Kind = bkCustom
        end
      end
      object pKlient4: TPanel
        Align = alClient
        BevelOuter = bvNone
        BorderWidth = 4
        Color = 14145476
        object lbUsun: TCheckListBox
          Align = alLeft
          Width = 221
          OnClick = lbUsunClick
        end
        object pUsunPrawy: TPanel
          Align = alClient
          BevelOuter = bvNone
          BorderWidth = 4
          Color = 14145476
          object bUsunProgramy: TqmxColorButton
            Align = alTop
            Height = 33
            OnClick = bUsunProgramyClick
            Caption = '&Usuń zaznaczone programy'
            BorderColor = clTeal
            Color = 15263965
            RoundSize = 24
            SingleLine = True
            Kind = bkCustom
          end
          object bUsunZRejestru: TqmxColorButton
            Align = alBottom
            Height = 33
            OnClick = bUsunZRejestruClick
            Caption = '&Usuń wszystkie wpisy z Rejestru'
            BorderColor = clTeal
            Color = 15263965
            RoundSize = 24
            SingleLine = True
            Kind = bkCustom
          end
          object lbPliki: TqmxHTMListbox
            Align = alClient
            Multiline = True
          end
        end
      end
    end
  end
  object FormStorage1: TFormStorage
    IniFileName = 'Software\QMX'
    IniSection = 'Lumero'
    UseRegistry = True
  end
  object ae: TAppEraser
    Files.Strings = ('*AppName*')
    Path = '*AppPath*'
    DelPathIfEmpty = True
  end
  object CABFile1: TCABFile
  end
  object PBShellLink1: TPBShellLink
    FileName = 'C:\WINDOWS\Menu Start\'
    Language = lgEnglish
    ShellFolder = sfStartMenu
  end
end
