object eQmxWarningDialog: TeQmxWarningDialog
  Left = 300
  Top = 200
  BorderStyle = bsDialog
  Caption = 'Uwaga!'
  ClientWidth = 402
  ClientHeight = 157
  Color = 14741211
  Font.Charset = 238
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  FormStyle = fsStayOnTop
  Position = poScreenCenter
  ShowHint = True
  OnClick = lbCzasClick
  OnDeactivate = FormDeactivate
  OnShow = FormShow
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 402
    Height = 157
    Align = alClient
    BevelOuter = bvNone
    BorderWidth = 4
    ParentColor = True
    object lbInfo: TLabel
      Left = 4
      Top = 4
      Width = 394
      Height = 13
      Align = alTop
      Font.Charset = 238
      Font.Color = clWindowText
      Font.Height = -11
      Font.Name = 'Tahoma'
      Font.Style = [fsBold]
      ParentFont = False
      Transparent = True
      WordWrap = True
      OnClick = lbCzasClick
    end
    object lbOpis: TLabel
      Left = 4
      Top = 17
      Width = 394
      Height = 13
      Align = alTop
      WordWrap = True
    end
    object pSpacer: TPanel
      Left = 4
      Top = 30
      Width = 394
      Height = 7
      Align = alTop
      BevelOuter = bvNone
      ParentColor = True
      OnClick = lbCzasClick
    end
    object pGauge: TPanel
      Left = 4
      Top = 37
      Width = 394
      Height = 12
      Align = alTop
      BevelOuter = bvNone
      BorderWidth = 2
      ParentColor = True
      OnClick = lbCzasClick
      object Gauge1: TProgressBar
        Left = 2
        Top = 2
        Width = 390
        Height = 8
        Align = alClient
        Hint = 'Ten wskaźnik pokazuje, za kiedy okienko zamknie się samo tak, jakbyś nacisnął przycisk OK.'
        Min = 0
        Max = 100
      end
    end
    object pBottom: TPanel
      Left = 4
      Top = 49
      Width = 394
      Height = 33
      Align = alTop
      BevelOuter = bvNone
      ParentColor = True
      object bStoj: TqmxColorButton
        Left = 0
        Top = 4
        Width = 21
        Height = 25
        BorderColor = clBlack
        ActiveBorderColor = clWhite
        Color = clWhite
        RoundSize = 24
        Caption = '?'
        Font.Charset = 238
        Font.Color = clWindowText
        Font.Height = -11
        Font.Name = 'Tahoma'
        Font.Style = [fsBold]
        ParentFont = False
        OnClick = lbCzasClick
      end
      object lbCzas: TLabel
        Left = 26
        Top = 0
        Width = 115
        Height = 34
        AutoSize = False
        Caption = 'Naciśnij OK lub Anuluj, aby zakończyć.'
        Font.Charset = 238
        Font.Color = clWindowText
        Font.Height = -9
        Font.Name = 'Tahoma'
        Font.Style = []
        ParentFont = False
        WordWrap = True
        OnClick = lbCzasClick
      end
      object bOK: TqmxColorButton
        Left = 196
        Top = 4
        Width = 80
        Height = 25
        BorderColor = clBlack
        ActiveBorderColor = clWhite
        Color = clWhite
        RoundSize = 24
        Caption = '&OK'
        Default = True
        ModalResult = 1
        Font.Charset = 238
        Font.Color = clWindowText
        Font.Height = -11
        Font.Name = 'Tahoma'
        Font.Style = [fsBold]
        ParentFont = False
        OnClick = bOKClick
      end
      object bAnuluj: TqmxColorButton
        Left = 284
        Top = 4
        Width = 78
        Height = 25
        BorderColor = clBlack
        ActiveBorderColor = clWhite
        Color = clWhite
        RoundSize = 24
        Caption = '&Anuluj'
        Cancel = True
        ModalResult = 2
        OnClick = bAnulujClick
      end
      object Przejazd1: TPrzejazd
        Left = 378
        Top = 4
        Width = 16
        Height = 25
        Hint = 'Kliknij, aby zatrzymać uciekający czas.'
        Migajacy = True
        Typ = gora
        OnClick = lbCzasClick
      end
    end
  end
  object Timer1: TTimer
    Interval = 200
    OnTimer = Timer1Timer
  end
  object ae: TAppEvents
  end
end
